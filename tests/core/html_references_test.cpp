#include "core/html_references.h"

#include <gtest/gtest.h>

namespace quill::core {
namespace {

TEST(DecodeReferences, ReferencesBecomeTheirCharactersAsABrowserReadsThem) {
  EXPECT_EQ(DecodeReferences("Fish &amp; &quot;Chips&quot; &eacute; &#8217; &#x41; &#150; &apos;"),
            "Fish & \"Chips\" \xC3\xA9 \xE2\x80\x99 A \xE2\x80\x93 '");
  EXPECT_EQ(DecodeReferences("&nosuch; & &#0; &amp"), "&nosuch; & &#0; &amp");
}

}  // namespace
}  // namespace quill::core
