// quillpush over SFTP and FTPS against real servers on loopback, the clear-text warning of
// plain FTP, and how FtpHost names the protocol.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <random>
#include <vector>

#include "core/settings_store.h"
#include "core/sqlite_registry.h"
#include "quillpush/host_keys.h"
#include "quillpush/remote_address.h"
#include "support/fixed_clock.h"
#include "support/ftp_server.h"
#include "support/ssh_server.h"
#include "support/temp_dir.h"

namespace quill::push {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::WriteFile;

constexpr const char* kPassword = "Pa55-w0rd-never-shown";

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(RemoteAddressTest, TheSchemeInTheHostNamesTheProtocol) {
  const struct {
    const char* typed;
    Protocol protocol;
    const char* host;
  } cases[] = {
      {"myhost", Protocol::kFtp, "myhost"},
      {"myhost:2121", Protocol::kFtp, "myhost:2121"},
      {"ftp://myhost/", Protocol::kFtp, "myhost"},
      {" sftp://myhost:2222 ", Protocol::kSftp, "myhost:2222"},
      {"sftp:myhost:2222", Protocol::kSftp, "myhost:2222"},
      {"SFTP:myhost", Protocol::kSftp, "myhost"},
      {"ftps://myhost/blog", Protocol::kFtps, "myhost"},
      {"ftps:myhost", Protocol::kFtps, "myhost"},
      {"sftp:22", Protocol::kFtp, "sftp:22"},  // a host called sftp
      {"sftp:", Protocol::kSftp, ""},
  };
  for (const auto& c : cases) {
    const RemoteAddress address = ParseRemoteAddress(c.typed);
    EXPECT_EQ(address.protocol, c.protocol) << c.typed;
    EXPECT_EQ(address.host, c.host) << c.typed;
  }
  EXPECT_EQ(HostPort("myhost:2222"), 2222);
  EXPECT_EQ(HostPort("myhost"), 0);
  EXPECT_EQ(HostName("myhost:2222"), "myhost");
  EXPECT_EQ(KnownHostsName("myhost", 22), "myhost");
  EXPECT_EQ(KnownHostsName("127.0.0.1", 2222), "[127.0.0.1]:2222");
}

TEST(HostKeysTest, TrustingAKeyReplacesOnlyThatHostsKeyOfThatType) {
  testing::TempDir dir;
  const std::string file = dir.File("ssh/known_hosts");
  fs::create_directories(dir.File("ssh"));
  WriteFile(file,
            "# mine\n"
            "other.example ssh-ed25519 AAAAold\n"
            "[h]:2222,127.0.0.9 ssh-ed25519 AAAAstale\n"
            "[h]:2222 ecdsa-sha2-nistp256 AAAAecdsa\n");
  chmod(file.c_str(), 0644);
  RecordHostKey(file, "[h]:2222", {"ssh-ed25519", "AAAAnew", "SHA256:x"});
  EXPECT_EQ(ReadFile(file),
            "[h]:2222 ssh-ed25519 AAAAnew\n"
            "# mine\n"
            "other.example ssh-ed25519 AAAAold\n"
            "[h]:2222 ecdsa-sha2-nistp256 AAAAecdsa\n");
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                fs::perms::others_read);

  const std::string fresh = dir.File("new/.ssh/known_hosts");
  RecordHostKey(fresh, "h", {"ssh-ed25519", "AAAAnew", "SHA256:x"});
  EXPECT_EQ(fs::status(fresh).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
}

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// A project whose site goes to a server on loopback; HOME points into the test's folder,
// so the user's own ~/.ssh is never read or written.
class SecureTransportTest : public ::testing::Test {
 protected:
  SecureTransportTest() {
    fs::create_directories(site_);
    fs::create_directories(home_ + ".ssh");
    fs::create_directories(root_);
    settings_.SetUserValue("00", "Push Log");
    auto& project = settings_.Settings();
    project.ProjectName = "Push Log";
    project.Template = site_ + "template.html";
    project.Title = "Push Log";
    project.FtpUser = "ann";
    project.FtpPass = "secret";
    project.FtpPath = "public/blog";
    settings_.LoadSettings(true);
    for (const char* name : {"template.html", "index.html", "blog1.html", "rss.xml"}) {
      WriteFile(site_ + name, std::string("content of ") + name);
    }
  }

  void Set(const std::string& name, const std::string& value) {
    settings_.SetProjectValue(name, value);
  }

  Outcome Quillpush(const std::string& arguments = "Push Log") {
    const std::string out = dir_.File("out.txt");
    const std::string err = dir_.File("err.txt");
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u SSH_AUTH_SOCK HOME='" +
                                home_ + "' XDG_CONFIG_HOME='" + dir_.Path().string() +
                                "' timeout 60 '" + QUILLPUSH_PATH + "' " + arguments + " >'" + out +
                                "' 2>'" + err + "'";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(out), ReadFile(err)};
  }

  std::string Stamp() {
    return settings_.GetProjectValue("FtpDate") + settings_.GetProjectValue("FtpTime");
  }
  std::string Remote(const std::string& name) { return ReadFile(root_ + "public/blog/" + name); }

  // Names that URLs and remote commands treat specially arrive under exactly their own
  // names, are listed so, and are deleted again.
  void ExpectAwkwardNamesToGoAndComeBack(const std::string& options) {
    const std::vector<std::string> awkward = {"Café notes #2.html", "a%20b.txt", "q?x+y;z.txt",
                                              "dir #1/ü +;%.txt"};
    fs::create_directories(site_ + "dir #1");
    for (const std::string& name : awkward) WriteFile(site_ + name, "content of " + name);
    Outcome run = Quillpush(options + " Push Log");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ServerFiles(),
              (std::vector<std::string>{"Café notes #2.html", "a%20b.txt", "blog1.html",
                                        "dir #1/ü +;%.txt", "index.html", "q?x+y;z.txt", "rss.xml",
                                        "template.html"}));
    for (const std::string& name : awkward) EXPECT_EQ(Remote(name), "content of " + name);

    for (const std::string& name : awkward) fs::remove(site_ + name);
    run = Quillpush("--dry-run --delete Push Log");
    EXPECT_EQ(run.status, 0) << run.err;
    for (const std::string& name : awkward) {
      EXPECT_TRUE(Has(run.out, "delete   " + name + "\n")) << run.out;
    }
    fs::remove(root_ + "public/blog/a%20b.txt");  // someone took it off the server already
    run = Quillpush(options + " --delete Push Log");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ServerFiles(), (std::vector<std::string>{"blog1.html", "dir #1", "index.html",
                                                       "rss.xml", "template.html"}));
  }
  // Forty files of random bytes and sizes in three folders go up side by side and arrive
  // byte for byte; then one changed file goes alone.
  void ExpectAParallelUploadToMirrorTheSite(const std::string& options) {
    std::mt19937 random(27);
    const char* const folders[] = {"", "pictures/", "pictures/old/"};
    std::vector<std::string> names = {"template.html", "index.html", "blog1.html", "rss.xml"};
    for (int i = 0; i < 40; ++i) {
      names.push_back(folders[i % 3] + std::string("f") + std::to_string(i) + ".bin");
      fs::create_directories(fs::path(site_ + names.back()).parent_path());
      std::string bytes(1 + random() % 150000, '\0');
      for (char& c : bytes) c = static_cast<char>(random());
      WriteFile(site_ + names.back(), bytes);
    }
    Outcome run = Quillpush(options + " Push Log");
    ASSERT_EQ(run.status, 0) << run.err;
    for (const std::string& name : names)
      EXPECT_TRUE(Remote(name) == ReadFile(site_ + name)) << name;
    EXPECT_EQ(ServerFiles().size(), names.size());
    WriteFile(site_ + "pictures/f1.bin", "changed");
    run = Quillpush(options + " Push Log");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(Has(run.out, "Sent 1 files")) << run.out;
    EXPECT_EQ(Remote("pictures/f1.bin"), "changed");
  }
  // Runs `check` against a plain FTP server, then against a fresh FTPS one, with the
  // options each needs.
  void OverFtpAndFtps(const std::function<void(const std::string& options)>& check) {
    {
      testing::FtpServer plain(root_, dir_.File("received.log"));
      Set("FtpHost", "127.0.0.1:" + std::to_string(plain.Port()));
      check("");
    }
    fs::remove_all(root_);
    fs::create_directories(root_);
    fs::remove(site_ + ".quillpush-manifest");
    testing::FtpServer tls(root_, dir_.File("received.log"), 0, 0, dir_.File("cert.pem"));
    Set("FtpHost", "ftps:127.0.0.1:" + std::to_string(tls.Port()));
    check("--insecure-tls");
  }
  // What the remote folder holds, files and folders, by name.
  std::vector<std::string> ServerFiles() {
    std::vector<std::string> names;
    const std::string folder = root_ + "public/blog/";
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      if (entry.is_regular_file() || fs::is_empty(entry.path())) {
        names.push_back(entry.path().lexically_relative(folder));
      }
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  testing::TempDir dir_;
  std::string site_ = dir_.File("site") + "/";
  std::string root_ = dir_.File("server") + "/";
  std::string home_ = dir_.File("home") + "/";
  std::string known_hosts_ = home_ + ".ssh/known_hosts";
  core::SqliteRegistry registry_{dir_.File("quillsmith/registry.db")};
  testing::FixedClock clock_;
  core::SettingsStore settings_{registry_, clock_};
};

class SftpTest : public SecureTransportTest {
 protected:
  SftpTest() {
    fs::copy_file(server_.ClientKey(), home_ + ".ssh/id_ed25519");
    Set("FtpHost", "sftp:127.0.0.1:" + std::to_string(server_.Port()));
    Set("FtpUser", testing::SshServer::UserName());
    Set("FtpPass", "");
  }
  testing::SshServer server_{dir_.File("sshd"), root_};
};

TEST_F(SftpTest, AnUnknownHostIsRefusedBeforeLoginUntilItsKeyIsTrusted) {
  Set("FtpPass", kPassword);  // not even offered to a server nobody vouched for
  Outcome run = Quillpush();
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Has(run.err, "not known")) << run.err;
  EXPECT_TRUE(Has(run.err, server_.HostFingerprint())) << run.err;
  EXPECT_TRUE(Has(run.err, "quillpush --trust-host-key Push Log")) << run.err;
  EXPECT_TRUE(Has(run.err, "ssh-keyscan -p " + std::to_string(server_.Port()))) << run.err;
  EXPECT_FALSE(Has(run.out + run.err, kPassword));
  EXPECT_FALSE(fs::exists(root_ + "public"));
  EXPECT_EQ(Stamp(), "");

  run = Quillpush("--trust-host-key Push Log");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.out, server_.HostFingerprint())) << run.out;
  EXPECT_TRUE(Has(ReadFile(known_hosts_),
                  "[127.0.0.1]:" + std::to_string(server_.Port()) + " ssh-ed25519 AAAA"));
  EXPECT_FALSE(fs::exists(root_ + "public"));  // trusting uploads nothing
  EXPECT_EQ(Stamp(), "");
  run = Quillpush("--trust-host-key Push Log");
  EXPECT_TRUE(Has(run.out, "already trusted")) << run.out;

  // Trusted, the wrong password gets as far as the login and no further.
  run = Quillpush();
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Has(run.err, "refused the login")) << run.err;
  EXPECT_FALSE(Has(run.out + run.err, kPassword));
  EXPECT_EQ(Stamp(), "");
}

TEST_F(SftpTest, SendsTheSiteThenOnlyWhatChanged) {
  ASSERT_EQ(Quillpush("--trust-host-key Push Log").status, 0);
  Set("FtpHost", "sftp://127.0.0.1:" + std::to_string(server_.Port()));  // as typed
  Outcome run = Quillpush();
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Sent 4 files")) << run.out;
  EXPECT_TRUE(Has(run.out, "to sftp://127.0.0.1:")) << run.out;
  EXPECT_EQ(Remote("rss.xml"), "content of rss.xml");
  EXPECT_EQ(run.err, "");  // no warning: SFTP is encrypted
  EXPECT_EQ(Stamp().size(), 12u);

  run = Quillpush();
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Sent 0 files")) << run.out;

  WriteFile(site_ + "blog1.html", "a new page one");
  run = Quillpush();
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Sent 1 files")) << run.out;
  EXPECT_EQ(Remote("blog1.html"), "a new page one");
}

TEST_F(SftpTest, AChangedHostKeyOrAStrangeClientKeyStopsWithoutAStamp) {
  const std::string name = "[127.0.0.1]:" + std::to_string(server_.Port());
  testing::Run("ssh-keygen -q -t ed25519 -N '' -f '" + dir_.File("old_host_key") + "'");
  const std::string old_key = ReadFile(dir_.File("old_host_key.pub"));
  WriteFile(known_hosts_, name + " " + old_key.substr(0, old_key.rfind(' ')) + "\n");
  Outcome run = Quillpush();
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Has(run.err, "CHANGED")) << run.err;
  EXPECT_TRUE(Has(run.err, server_.HostFingerprint())) << run.err;
  EXPECT_FALSE(fs::exists(root_ + "public"));

  ASSERT_EQ(Quillpush("--trust-host-key Push Log").status, 0);
  fs::remove(home_ + ".ssh/id_ed25519");
  testing::Run("ssh-keygen -q -t ed25519 -N '' -f '" + home_ + ".ssh/id_ed25519'");
  run = Quillpush();
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Has(run.err, "refused the login")) << run.err;
  EXPECT_FALSE(fs::exists(root_ + "public"));
  EXPECT_EQ(Stamp(), "");
}

TEST_F(SftpTest, AHostKeyThatChangesAfterItWasTrustedIsRefusedAtTheLoginItself) {
  ASSERT_EQ(Quillpush("--trust-host-key Push Log").status, 0);
  const int port = server_.Port();
  server_.Stop();
  // Another server answers at the trusted address, and it would take the user's key: its key
  // first differs from the one recorded, then known_hosts holds none for the address at all.
  const std::string root = dir_.File("other-server");
  testing::SshServer other(dir_.File("other-sshd"), root, port);
  other.Authorize(server_.ClientKey());
  for (const char* known : {"CHANGED", "not known"}) {
    if (std::string(known) == "not known") fs::remove(known_hosts_);
    const Outcome run = Quillpush();
    EXPECT_EQ(run.status, 1) << known;
    EXPECT_TRUE(Has(run.err, known)) << run.err;
    EXPECT_TRUE(Has(run.err, other.HostFingerprint())) << run.err;
    EXPECT_TRUE(fs::is_empty(root)) << known;
    EXPECT_EQ(Stamp(), "") << known;
  }
}

TEST_F(SftpTest, AwkwardNamesArriveAsTheyAreAndAreDeletedAgain) {
  ASSERT_EQ(Quillpush("--trust-host-key Push Log").status, 0);
  ExpectAwkwardNamesToGoAndComeBack("");
}

TEST_F(SecureTransportTest, AwkwardNamesArriveAsTheyAreAndAreDeletedAgainOverFtpAndFtps) {
  OverFtpAndFtps([&](const std::string& options) { ExpectAwkwardNamesToGoAndComeBack(options); });
}

TEST_F(SftpTest, VerifySendsAgainWhatTheServerLostAndLeavesStrangersAlone) {
  ASSERT_EQ(Quillpush("--trust-host-key Push Log").status, 0);
  fs::create_directories(site_ + "pictures");
  WriteFile(site_ + "pictures/a.png", std::string(5000, 'a'));
  ASSERT_EQ(Quillpush().status, 0);
  fs::remove(root_ + "public/blog/blog1.html");
  fs::resize_file(root_ + "public/blog/pictures/a.png", 10);
  WriteFile(root_ + "public/blog/pictures/theirs.png", "someone else's");
  const Outcome run = Quillpush("--verify Push Log");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.out, "Sent 2 files")) << run.out;
  EXPECT_EQ(Remote("blog1.html"), "content of blog1.html");
  EXPECT_EQ(Remote("pictures/a.png"), std::string(5000, 'a'));
  EXPECT_TRUE(Has(run.err, "\n  pictures/theirs.png")) << run.err;
  EXPECT_EQ(Remote("pictures/theirs.png"), "someone else's");
}

TEST_F(SftpTest, AParallelUploadEndsByteIdentical) {
  ASSERT_EQ(Quillpush("--trust-host-key Push Log").status, 0);
  ExpectAParallelUploadToMirrorTheSite("");
}

TEST_F(SecureTransportTest, AParallelUploadEndsByteIdenticalOverFtpAndFtps) {
  OverFtpAndFtps(
      [&](const std::string& options) { ExpectAParallelUploadToMirrorTheSite(options); });
}

TEST_F(SecureTransportTest, FtpsDemandsTlsAndAVerifiedCertificateUnlessToldOtherwise) {
  const std::string log = dir_.File("received.log");
  Set("FtpPass", kPassword);
  {
    testing::FtpServer plain(root_, log, 0, 0);
    Set("FtpHost", "ftps://127.0.0.1:" + std::to_string(plain.Port()));
    const Outcome run = Quillpush();
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(Has(run.err, "does not offer TLS")) << run.err;
    EXPECT_FALSE(Has(run.out + run.err, kPassword));
    EXPECT_FALSE(fs::exists(log));
  }
  testing::FtpServer tls(root_, log, 0, 0, dir_.File("cert.pem"));
  Set("FtpPass", "secret");
  Set("FtpHost", "ftps:127.0.0.1:" + std::to_string(tls.Port()));  // as the setup stores it
  Outcome run = Quillpush();
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(Has(run.err, "certificate")) << run.err;
  EXPECT_TRUE(Has(run.err, "quillpush --insecure-tls Push Log")) << run.err;
  EXPECT_FALSE(fs::exists(log));
  EXPECT_EQ(Stamp(), "");

  run = Quillpush("--insecure-tls Push Log");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Remote("index.html"), "content of index.html");
  EXPECT_EQ(Stamp().size(), 12u);
}

TEST_F(SecureTransportTest, PlainFtpWarnsThatThePasswordWentInClearText) {
  testing::FtpServer plain(root_, dir_.File("received.log"));
  Set("FtpHost", "127.0.0.1:" + std::to_string(plain.Port()));
  const Outcome run = Quillpush("--quiet Push Log");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_TRUE(Has(run.err, "warning: ")) << run.err;
  EXPECT_TRUE(Has(run.err, "password (and every file) was sent unencrypted")) << run.err;
  EXPECT_TRUE(Has(run.err, "\"ftps:\" or \"sftp:\"")) << run.err;
  EXPECT_FALSE(Has(run.err, "secret"));
  EXPECT_EQ(Remote("rss.xml"), "content of rss.xml");
}

}  // namespace
}  // namespace quill::push
