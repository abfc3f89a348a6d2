#include "check/address.h"

#include <gtest/gtest.h>

namespace quill::check {
namespace {

using Kind = Target::Kind;

struct Case {
  const char* reference;
  const char* page;
  Kind kind;
  const char* expected;  // Inside: the path; External: the address; NotChecked: why
};

std::string Described(const Target& target) {
  switch (target.kind) {
    case Kind::Inside:
      return target.path + (target.has_fragment ? "#" + target.fragment : "");
    case Kind::External:
      return target.address;
    case Kind::NotChecked:
      return target.why;
  }
  return {};
}

TEST(AddressResolverTest, ReferencesLeadWhereABrowserGoes) {
  const AddressResolver blog("https://Example.org/blog", "https://example.org/");
  const char* outside = "outside the blog, on a part of the site this project does not build";
  const Case cases[] = {
      {"photo.jpg", "index.html", Kind::Inside, "photo.jpg"},
      {"  photo.jpg\t", "index.html", Kind::Inside, "photo.jpg"},
      {"./img/../photo.jpg?size=2#top", "index.html", Kind::Inside, "photo.jpg#top"},
      {"../photo.jpg", "docs/a.html", Kind::Inside, "photo.jpg"},
      {"b.html", "docs/a.html", Kind::Inside, "docs/b.html"},
      {"Pic%20one.png", "index.html", Kind::Inside, "Pic one.png"},
      {"caf%C3%A9.html", "index.html", Kind::Inside, "caf\xC3\xA9.html"},
      {"images\\pic.png", "index.html", Kind::Inside, "images/pic.png"},
      {"docs/", "index.html", Kind::Inside, "docs/"},
      {".", "docs/a.html", Kind::Inside, "docs/"},
      {"..", "docs/a.html", Kind::Inside, ""},
      {"", "docs/a.html", Kind::Inside, "docs/a.html"},
      {"#here", "docs/a.html", Kind::Inside, "docs/a.html#here"},
      {"../outside.html", "index.html", Kind::NotChecked, "above the output folder"},
      {"%2e%2e/outside.html", "index.html", Kind::NotChecked, "above the output folder"},
      {"https://example.org/blog/photo.jpg", "index.html", Kind::Inside, "photo.jpg"},
      {"HTTP://EXAMPLE.ORG:80/blog/docs/#x", "index.html", Kind::Inside, "docs/#x"},
      {"https://example.org/blog", "index.html", Kind::Inside, ""},
      {"//example.org/blog/photo.jpg", "index.html", Kind::Inside, "photo.jpg"},
      {"/blog/docs/guide.pdf", "index.html", Kind::Inside, "docs/guide.pdf"},
      {"/blog/../blog/x.html", "index.html", Kind::Inside, "x.html"},
      {"https:photo.jpg", "index.html", Kind::Inside, "photo.jpg"},
      {"https:/blog/photo.jpg", "index.html", Kind::Inside, "photo.jpg"},
      {"/shop/", "index.html", Kind::NotChecked, outside},
      {"/blogger/x.html", "index.html", Kind::NotChecked, outside},
      {"https://example.org/shop/x", "index.html", Kind::NotChecked, outside},
      {"https://example.com/", "index.html", Kind::External, "https://example.com/"},
      {"http:/example.com/a#b", "index.html", Kind::External, "http://example.com/a"},
      {"javascript:void(0)", "index.html", Kind::NotChecked, "a javascript: address"},
      {"DATA:image/png;base64,AAAA", "index.html", Kind::NotChecked, "a data: address"},
      {"mailto:ann@example.org", "index.html", Kind::NotChecked, "a mailto: address"},
  };
  for (const Case& c : cases) {
    const Target target = blog.Resolve(c.reference, c.page);
    EXPECT_EQ(target.kind, c.kind) << c.reference;
    EXPECT_EQ(Described(target), c.expected) << c.reference;
  }
}

TEST(AddressResolverTest, WithoutABlogAddressOnlyRelativeReferencesAreInside) {
  const AddressResolver nowhere("", "");
  EXPECT_EQ(Described(nowhere.Resolve("a/b.html", "index.html")), "a/b.html");
  EXPECT_EQ(Described(nowhere.Resolve("/a/b.html", "index.html")),
            "starts at the server's root, and the blog's address is not set");
  EXPECT_EQ(nowhere.Resolve("https://example.org/a", "index.html").kind, Kind::External);
  // The blog's address may name its first page, and may lack its scheme.
  const AddressResolver page("example.org/news/index.html", "");
  EXPECT_EQ(Described(page.Resolve("http://example.org/news/a.html", "index.html")), "a.html");
}

TEST(AddressResolverTest, ABaseElementMovesRelativeReferences) {
  const AddressResolver blog("https://example.org/", "");
  EXPECT_EQ(Described(blog.Resolve("pic.png", "index.html", "images/")), "images/pic.png");
  EXPECT_EQ(Described(blog.Resolve("/x.html", "index.html", "images/")), "x.html");
  EXPECT_EQ(Described(blog.Resolve("pic.png", "index.html", "https://cdn.example.net/")),
            "relative to the page's <base href>, which leads outside the blog");
}

}  // namespace
}  // namespace quill::check
