// DiskFiles on a Windows file system: file attributes, share modes, names outside the ANSI code
// page, and files that cannot be created.

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "files/byte_source.h"
#include "files/export_files.h"
#include "files/output_file.h"
#include "support/windows_test_folder.h"

namespace vessory::testing {
namespace {

// Literal bytes, NUL included.
template <std::size_t N>
std::string bytes(const char (&text)[N]) {
  return std::string(text, N - 1);
}

const std::string kArchiveBytes = bytes("\x00\x01\x42\x44 some archive bytes\r\n\x1a\xff");

std::string readAll(files::ByteSource& source) {
  std::string bytes;
  for (auto chunk = source.nextChunk(); !chunk.empty(); chunk = source.nextChunk()) {
    bytes.append(reinterpret_cast<const char*>(chunk.data()), chunk.size());
  }
  return bytes;
}

class WindowsFilesTest : public ::testing::Test {
 protected:
  // A file with the given attributes; fails the test when the file system does not keep them.
  std::string fileWithAttributes(const std::wstring& name, DWORD attributes) {
    std::wstring path = folder_.wide(name);
    EXPECT_TRUE(writeWide(path, kArchiveBytes));
    EXPECT_TRUE(SetFileAttributesW(path.c_str(), attributes));
    DWORD kept = attributes & ~FILE_ATTRIBUTE_NORMAL;  // NORMAL only means "none of the others"
    EXPECT_EQ(GetFileAttributesW(path.c_str()) & kept, kept);
    return utf8(path);
  }

  TestFolder folder_;
  files::DiskFiles files_;
};

TEST_F(WindowsFilesTest, OnlyOrdinaryFilesExist) {
  EXPECT_TRUE(files_.fileExists(fileWithAttributes(L"plain.dat", FILE_ATTRIBUTE_NORMAL)));
  EXPECT_TRUE(files_.fileExists(fileWithAttributes(L"archived.dat", FILE_ATTRIBUTE_ARCHIVE)));
  EXPECT_TRUE(files_.fileExists(fileWithAttributes(L"readonly.dat", FILE_ATTRIBUTE_READONLY)));
  EXPECT_FALSE(files_.fileExists(fileWithAttributes(L"hidden.dat", FILE_ATTRIBUTE_HIDDEN)));
  EXPECT_FALSE(files_.fileExists(fileWithAttributes(L"system.dat", FILE_ATTRIBUTE_SYSTEM)));
  EXPECT_FALSE(files_.fileExists(
      fileWithAttributes(L"both.dat", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)));
  EXPECT_FALSE(files_.fileExists(folder_.path()));
  EXPECT_FALSE(files_.fileExists(folder_.path(L"missing.dat")));
}

TEST_F(WindowsFilesTest, HiddenFileStillOpensWhenAskedDirectly) {
  // Only the selection test leaves hidden files out; reading one is not refused.
  std::string path = fileWithAttributes(L"hidden.dat", FILE_ATTRIBUTE_HIDDEN);
  std::string error;
  auto source = files_.openArchive(path, error);
  ASSERT_NE(source, nullptr) << error;
  EXPECT_EQ(readAll(*source), kArchiveBytes);
}

TEST_F(WindowsFilesTest, ArchiveHeldOpenByAnotherReaderOpens) {
  std::wstring path = folder_.wide(L"Datebook.dat");
  ASSERT_TRUE(writeWide(path, kArchiveBytes));
  // Readers that let others read only or also write, and a writer that lets others read (the
  // desktop software during a sync): each leaves the archive readable for the export.
  const struct {
    DWORD access, share;
  } holders[] = {{GENERIC_READ, FILE_SHARE_READ},
                 {GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE},
                 {GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ}};
  for (const auto& holder : holders) {
    SCOPED_TRACE(::testing::Message() << "access " << holder.access << " share " << holder.share);
    HeldFile other(path, holder.access, holder.share);
    ASSERT_TRUE(other.held());
    std::string error;
    auto source = files_.openArchive(utf8(path), error);
    ASSERT_NE(source, nullptr) << error;
    EXPECT_EQ(readAll(*source), kArchiveBytes);
  }
}

TEST_F(WindowsFilesTest, OpenArchiveLeavesItReadableByOthers) {
  std::wstring path = folder_.wide(L"Datebook.dat");
  ASSERT_TRUE(writeWide(path, kArchiveBytes));
  std::string error;
  auto source = files_.openArchive(utf8(path), error);
  ASSERT_NE(source, nullptr) << error;
  HeldFile reader(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
  EXPECT_TRUE(reader.held());
  HeldFile writer(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE);
  EXPECT_TRUE(writer.held());
}

TEST_F(WindowsFilesTest, ArchiveLockedAgainstReadersGivesTheReason) {
  std::wstring path = folder_.wide(L"Datebook.dat");
  ASSERT_TRUE(writeWide(path, kArchiveBytes));
  HeldFile locker(path, GENERIC_READ, 0);
  ASSERT_TRUE(locker.held());
  std::string error;
  EXPECT_EQ(files_.openArchive(utf8(path), error), nullptr);
  EXPECT_EQ(error, std::strerror(EACCES));
}

TEST_F(WindowsFilesTest, NamesOutsideTheAnsiCodePageWork) {
  TestFolder folder(L"Tageb\u00fccher \u65e5\u8a18 \u2603");
  std::wstring archive = folder.wide(L"D\u00e4tebook \u0416.dat");
  ASSERT_TRUE(writeWide(archive, kArchiveBytes));
  std::string path = utf8(archive);

  EXPECT_TRUE(files_.fileExists(path));
  std::string error;
  auto source = files_.openArchive(path, error);
  ASSERT_NE(source, nullptr) << error;
  EXPECT_EQ(readAll(*source), kArchiveBytes);

  std::wstring csv = folder.wide(L"D\u00e4tebook \u0416.csv");
  auto output = files_.createCsv(utf8(csv), error);
  ASSERT_NE(output, nullptr) << error;
  output->append("1,x\r\n");
  EXPECT_TRUE(output->close());
  EXPECT_EQ(readWide(csv), "1,x\r\n");
}

TEST_F(WindowsFilesTest, AnsiCodePageNamesStillOpen) {
  std::wstring archive = folder_.wide(L"caf\u00e9.dat");
  ASSERT_TRUE(writeWide(archive, kArchiveBytes));
  BOOL lossy = FALSE;
  char ansi[MAX_PATH * 2];
  int length = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, archive.c_str(), -1, ansi,
                                   sizeof ansi, nullptr, &lossy);
  if (length == 0 || lossy) GTEST_SKIP() << "the ANSI code page has no e-acute";
  std::string error;
  auto source = files_.openArchive(ansi, error);
  ASSERT_NE(source, nullptr) << error;
  EXPECT_EQ(readAll(*source), kArchiveBytes);
}

TEST_F(WindowsFilesTest, SameFileSeesThroughSpellingsButTellsFilesApart) {
  std::string first = fileWithAttributes(L"Datebook.dat", FILE_ATTRIBUTE_NORMAL);
  std::string second = fileWithAttributes(L"Datebook.csv", FILE_ATTRIBUTE_NORMAL);
  std::string shouted = folder_.path() + "\\DATEBOOK.DAT";
  std::string slashed = folder_.path() + "/./Datebook.dat";
  EXPECT_TRUE(files_.sameFile(first, shouted));
  EXPECT_TRUE(files_.sameFile(first, slashed));
  EXPECT_FALSE(files_.sameFile(first, second));
  EXPECT_FALSE(files_.sameFile(first, folder_.path(L"missing.csv")));
}

TEST_F(WindowsFilesTest, ReadOnlyCsvCannotBeCreated) {
  std::wstring csv = folder_.wide(L"Datebook.csv");
  ASSERT_TRUE(writeWide(csv, "earlier rows\r\n"));
  if (!makeReadOnly(csv)) GTEST_SKIP() << kReadOnlyIgnored;
  std::string error;
  EXPECT_EQ(files_.createCsv(utf8(csv), error), nullptr);
  EXPECT_EQ(error, std::strerror(EACCES));
  EXPECT_EQ(readWide(csv), "earlier rows\r\n");
}

TEST_F(WindowsFilesTest, CsvBytesAreWrittenWithoutLineEndTranslation) {
  std::wstring csv = folder_.wide(L"rows.csv");
  std::string error;
  auto output = files_.createCsv(utf8(csv), error);
  ASSERT_NE(output, nullptr) << error;
  const std::string rows = bytes("0,a\r\n\"b\nc\"\r\n\x1a\xe9\r\n");
  output->append(rows);
  EXPECT_TRUE(output->close());
  EXPECT_EQ(readWide(csv), rows);
}

}  // namespace
}  // namespace vessory::testing
