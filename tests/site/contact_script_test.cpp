#include "site/contact_script.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "support/memory_output.h"
#include "support/php_server.h"
#include "support/temp_dir.h"

namespace quill::site {
namespace {

using Lines = std::vector<std::string>;
using Fields = std::vector<std::pair<std::string, std::string>>;

std::string FormEncode(const Fields& fields) {
  std::string form;
  for (const auto& [name, value] : fields) {
    if (!form.empty()) form += '&';
    for (const std::string* part : {&name, &value}) {
      for (unsigned char c : *part) {
        if (std::isalnum(c) || c == '.' || c == '_' || c == '-' || c == '[' || c == ']') {
          form += static_cast<char>(c);
        } else {
          char hex[4];
          std::snprintf(hex, sizeof hex, "%%%02X", c);
          form += hex;
        }
      }
      if (part == &name) form += '=';
    }
  }
  return form;
}

// The comment form's own post, with `changes` replacing or adding fields.
Fields FormPost(const Fields& changes = {}) {
  Fields fields = {
      {"name", "Bob"},       {"email", "bob@example.com"},       {"message", "Hi!"},
      {"subject", "My Log"}, {"required", "name email message"}, {"Submit", "Send Email"}};
  for (const auto& change : changes) {
    const auto same =
        std::ranges::find(fields, change.first, &std::pair<std::string, std::string>::first);
    if (same != fields.end()) {
      same->second = change.second;
    } else {
      fields.push_back(change);
    }
  }
  return fields;
}

// contact.php written for an Editor into its own folder below a PHP server whose mail goes
// to a stand-in sendmail that records each message in mails.txt.
class ContactScriptTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new testing::TempDir;
    const std::string sendmail = dir_->File("sendmail");
    std::ofstream(sendmail) << "#!/bin/sh\n{ cat; echo '=== end ==='; } >> "
                            << dir_->File("mails.txt") << "\n";
    std::filesystem::permissions(sendmail, std::filesystem::perms::owner_all);
    std::filesystem::create_directories(dir_->File("site"));
    server_ = new testing::PhpServer(dir_->Folder() + "site", sendmail);
  }
  static void TearDownTestSuite() {
    delete server_;
    delete dir_;
  }
  void SetUp() override { std::filesystem::remove(dir_->File("mails.txt")); }

  // Writes the script for `editor` and returns its folder's address on the server.
  std::string Script(const std::string& editor, const std::string& title = "My Log") {
    core::ProjectSettings settings;
    settings.Editor = editor;
    settings.Title = title;
    testing::MemoryOutput output;
    WriteContactScript(settings, output);
    const std::string folder = "s" + std::to_string(++scripts_);
    std::filesystem::create_directories(dir_->File("site/" + folder));
    script_path_ = dir_->File("site/" + folder + "/contact.php");
    std::ofstream(script_path_, std::ios::binary) << output.files["contact.php"];
    lines_ = output.Lines("contact.php");
    return "/" + folder + "/contact.php";
  }
  std::string Post(const std::string& script, const Fields& fields) {
    return server_->Post(script, FormEncode(fields));
  }
  static std::string Mails() { return testing::ReadFile(dir_->File("mails.txt")); }

  static testing::TempDir* dir_;
  static testing::PhpServer* server_;
  static int scripts_;
  std::string script_path_;
  Lines lines_;
};

testing::TempDir* ContactScriptTest::dir_ = nullptr;
testing::PhpServer* ContactScriptTest::server_ = nullptr;
int ContactScriptTest::scripts_ = 0;

TEST_F(ContactScriptTest, AGoodPostMailsTheEditorEveryFieldAndRedirects) {
  const std::string script = Script("ann@example.org");
  EXPECT_EQ(testing::RunQuietly({QUILL_PHP_PATH, "-n", "-l", script_path_}), 0);
  EXPECT_EQ(lines_.front(), "<?php");
  EXPECT_EQ(lines_.back(), "?>");

  Fields fields = FormPost();
  fields.insert(fields.end(), {{"colours[]", "red"}, {"colours[]", "blue"}});
  const std::string response = Post(script, fields);
  EXPECT_NE(response.find(" 302 "), std::string::npos) << response;
  EXPECT_NE(response.find("\r\nLocation: message.html\r\n"), std::string::npos) << response;
  EXPECT_EQ(Mails(),
            "To: ann@example.org\r\n"
            "Subject: My Log\r\n"
            "Reply-To: bob@example.com\r\n"
            "\r\n"
            "NAME: \nBob\n\nEMAIL: \nbob@example.com\n\nMESSAGE: \nHi!\n\nSUBJECT: \nMy Log\n\n"
            "COLOURS: \nred\n   blue\n\r\n"
            "=== end ===\n");
}

TEST_F(ContactScriptTest, AMissingRequiredFieldIsNamedAndNothingIsSent) {
  const std::string script = Script("ann@example.org");
  EXPECT_NE(Post(script, FormPost({{"message", ""}})).find("You must enter a value for: message"),
            std::string::npos);
  EXPECT_NE(Post(script, FormPost({{"subject", "My\x07Log"}})).find("Error. Invalid Subject"),
            std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir_->File("mails.txt")));
}

TEST_F(ContactScriptTest, PostedDestinationsAndFollowUpsElsewhereAreIgnored) {
  const std::string script = Script("ann@example.org");
  for (const char* elsewhere :
       {"http://evil.example/", "//evil.example/x", "/\\evil.example", "javascript:alert(1)"}) {
    const std::string response =
        Post(script,
             FormPost({{"destination_email", "spam@evil.example"}, {"followup_url", elsewhere}}));
    EXPECT_NE(response.find("\r\nLocation: message.html\r\n"), std::string::npos) << elsewhere;
  }
  EXPECT_NE(Post(script, FormPost({{"followup_url", "thanks.html?from=blog"}}))
                .find("\r\nLocation: thanks.html?from=blog\r\n"),
            std::string::npos);
  const std::string mails = Mails();
  EXPECT_EQ(mails.find("evil"), std::string::npos) << mails;
  EXPECT_NE(mails.find("To: ann@example.org\r\n"), std::string::npos);
}

TEST_F(ContactScriptTest, HeaderInjectionSendsOneMailWithoutAnExtraHeader) {
  const std::string script = Script("ann@example.org");
  Post(script, FormPost({{"email", "bob@example.com\r\nBcc: a@evil.example"},
                         {"subject", "My Log\r\nBcc: b@evil.example"}}));
  const std::string mails = Mails();
  const std::string headers = mails.substr(0, mails.find("\r\n\r\n") + 2);
  EXPECT_EQ(headers, "To: ann@example.org\r\nSubject: My Log Bcc: b@evil.example\r\n");
  EXPECT_EQ(mails.find("=== end ===\n"), mails.size() - 12) << "one mail";
}

TEST_F(ContactScriptTest, AnUnsetEditorGivesTheSetUpMessageAndSettingsStayText) {
  const std::string set_up =
      "Script Error:  This form processing script has not yet been correctly set up.<br>Please "
      "contact the webmaster.";
  for (const std::string& editor : {std::string(kUnsetDestination), std::string()}) {
    EXPECT_NE(Post(Script(editor), FormPost()).find(set_up), std::string::npos) << editor;
  }

  const std::string hostile = Script("'; touch('pwned'); '", "Ann's \"$HOME\" \\ Log\nnext");
  EXPECT_EQ(lines_[1], "\t$default_destination_email = '\\'; touch(\\'pwned\\'); \\'';");
  EXPECT_EQ(lines_[2], "\t$site_name = 'Ann\\'s \"$HOME\" \\\\ Log next';");
  EXPECT_EQ(testing::RunQuietly({QUILL_PHP_PATH, "-n", "-l", script_path_}), 0);
  EXPECT_NE(Post(hostile, FormPost()).find("Error. Invalid Destination Email"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir_->File("site/pwned")));
  EXPECT_FALSE(std::filesystem::exists(dir_->File("mails.txt")));
}

}  // namespace
}  // namespace quill::site
