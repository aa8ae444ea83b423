// The instrument's command server, driven request by request without a transport.

#include "app/remotedisk/disk_protocol.h"
#include "device/disk_server.h"
#include "device/fat_name.h"
#include "app/remotedisk/wire_fields.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace zarno::device {
using namespace wire;
namespace {
namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

// A fresh directory under the system's temporary folder, removed afterwards.
class TempDir {
public:
    TempDir() {
        std::string templ = (fs::temp_directory_path() / "zarno-device-XXXXXX").string();
        path = mkdtemp(templ.data());
    }
    ~TempDir() { fs::remove_all(path); }
    fs::path path;
};

void WriteFile(const fs::path& p, const std::string& content) {
    std::ofstream(p, std::ios::binary) << content;
}

std::string ReadFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

// The 12-byte device file name as the client builds it.
Bytes DeviceName(const std::string& name, const std::string& ext, uint8_t attr) {
    Bytes b(12, ' ');
    std::copy(name.begin(), name.end(), b.begin());
    std::copy(ext.begin(), ext.end(), b.begin() + 8);
    b[11] = attr;
    return b;
}
Bytes FileName(const std::string& name, const std::string& ext) {
    return DeviceName(name, ext, 0x20);
}
Bytes DirName(const std::string& name) {
    return DeviceName(name, "", kDirectoryAttribute);
}

Bytes U32s(std::initializer_list<uint32_t> values) {
    Bytes b;
    for (uint32_t v : values)
        AppendU32(b, v);
    return b;
}

Bytes WritePayload(uint32_t handle, uint32_t block, const std::string& data) {
    Bytes b = U32s({handle, block});
    AppendU16(b, static_cast<uint16_t>(data.size()));
    b.insert(b.end(), data.begin(), data.end());
    b.resize(522, 0); // the client always sends the whole block field
    return b;
}

uint16_t StatusOf(const Bytes& answer) {
    return answer.size() >= 2 ? GetU16(answer, 0) : 0xDEAD;
}

std::string EntryName(const Bytes& answer, size_t index) {
    return std::string(answer.begin() + 2 + 32 * static_cast<long>(index),
                       answer.begin() + 2 + 32 * static_cast<long>(index) + 11);
}

DiskServerOptions Options(std::optional<uint64_t> diskSize, uint16_t kind = 0,
                          std::string label = "ZARNO-DEV") {
    DiskServerOptions o;
    o.diskSize = diskSize;
    o.kind = kind;
    o.label = std::move(label);
    return o;
}

class DiskServerTest : public ::testing::Test {
protected:
    DiskServer& Server(DiskServerOptions options = {}) {
        options.root = dir.path;
        server = std::make_unique<DiskServer>(std::move(options));
        return *server;
    }
    Bytes Do(uint16_t code, const Bytes& payload = {}) { return server->Handle(code, payload); }
    uint32_t Open(const std::string& name, const std::string& ext, uint32_t* length = nullptr) {
        const Bytes a = Do(kCodeOpen, FileName(name, ext));
        EXPECT_EQ(StatusOf(a), kStatusOk);
        EXPECT_EQ(a.size(), 10u);
        if (length)
            *length = GetU32(a, 6);
        return a.size() >= 6 ? GetU32(a, 2) : 0;
    }
    uint32_t Create(const std::string& name, const std::string& ext) {
        const Bytes a = Do(kCodeCreate, FileName(name, ext));
        EXPECT_EQ(StatusOf(a), kStatusOk);
        return a.size() >= 6 ? GetU32(a, 2) : 0;
    }
    // All answers of one listing (66, then 67 while the status is 0xFFFF).
    std::vector<Bytes> ListAll() {
        std::vector<Bytes> answers{Do(kCodeReadDirectory)};
        while (StatusOf(answers.back()) == kStatusMore && answers.size() < 100)
            answers.push_back(Do(kCodeReadDirectoryMore));
        return answers;
    }

    TempDir dir;
    std::unique_ptr<DiskServer> server;
};

TEST_F(DiskServerTest, DiskInfoCarriesKindSizesAndLabel) {
    WriteFile(dir.path / "A.DDB", std::string(1000, 'x'));
    Server(Options(100000, 1, "PILES"));
    const Bytes a = Do(kCodeDiskInfo);
    ASSERT_EQ(a.size(), kDiskInfoSize);
    EXPECT_EQ(StatusOf(a), kStatusOk);
    EXPECT_EQ(GetU16(a, kInfoKindOffset), 1);
    EXPECT_EQ(GetU32(a, kInfoTotalOffset), 100000u);
    EXPECT_EQ(GetU32(a, kInfoFreeOffset), 99000u);
    EXPECT_EQ(std::string(a.begin() + kInfoLabelOffset, a.end()), "PILES" + std::string(27, ' '));

    Server(); // the real file system's figures
    const Bytes real = Do(kCodeDiskInfo);
    EXPECT_EQ(GetU16(real, kInfoKindOffset), 0);
    EXPECT_GT(GetU32(real, kInfoTotalOffset), 0u);
    EXPECT_LE(GetU32(real, kInfoFreeOffset), GetU32(real, kInfoTotalOffset));
}

TEST_F(DiskServerTest, ListingPagesSixteenEntriesAtATime) {
    const struct {
        int files;
        std::vector<size_t> pages; // entries per answer
    } cases[] = {{0, {0}}, {16, {16}}, {17, {16, 1}}, {20, {16, 4}}, {32, {16, 16}}, {40, {16, 16, 8}}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.files);
        fs::remove_all(dir.path);
        fs::create_directory(dir.path);
        for (int i = 0; i < c.files; ++i)
            WriteFile(dir.path / ("F" + std::to_string(100 + i) + ".TXT"), "x");
        Server();
        const auto answers = ListAll();
        ASSERT_EQ(answers.size(), c.pages.size());
        for (size_t p = 0; p < answers.size(); ++p) {
            EXPECT_EQ(StatusOf(answers[p]), p + 1 < answers.size() ? kStatusMore : kStatusOk);
            EXPECT_EQ(answers[p].size(), 2 + 32 * c.pages[p]);
        }
        if (c.files > 0) {
            EXPECT_EQ(EntryName(answers[0], 0), "F100    TXT");
        }
        // After the last answer there is nothing to continue.
        EXPECT_NE(StatusOf(Do(kCodeReadDirectoryMore)), kStatusOk);
    }
}

TEST_F(DiskServerTest, EntriesAreFatEntriesOfTheShortNamesOnly) {
    WriteFile(dir.path / "pile06.ddb", std::string(1234, 'x'));
    WriteFile(dir.path / "README", "r");
    WriteFile(dir.path / "long_file_name.ddb", "hidden: name too long");
    WriteFile(dir.path / "two.dots.txt", "hidden: two dots");
    WriteFile(dir.path / ".hidden", "hidden: leading dot");
    WriteFile(dir.path / "EXT.LONG", "hidden: extension too long");
    fs::create_directory(dir.path / "Rec");
    fs::create_symlink("/etc", dir.path / "ETC");
    const std::time_t when = 1112612618; // 2005-04-04, a time with an odd second
    struct timespec times[2] = {{when, 0}, {when, 0}};
    utimensat(AT_FDCWD, (dir.path / "pile06.ddb").c_str(), times, 0);

    Server();
    const Bytes a = Do(kCodeReadDirectory);
    ASSERT_EQ(StatusOf(a), kStatusOk);
    ASSERT_EQ(a.size(), 2 + 3 * 32u);
    EXPECT_EQ(EntryName(a, 0), "PILE06  DDB");
    EXPECT_EQ(EntryName(a, 1), "README     ");
    EXPECT_EQ(EntryName(a, 2), "REC        ");
    const auto entry = [&](size_t i) { return std::span<const uint8_t>(a).subspan(2 + 32 * i, 32); };
    EXPECT_EQ(entry(0)[kEntryAttrOffset], kNewFileAttribute);
    EXPECT_EQ(GetU32(entry(0), kEntrySizeOffset), 1234u);
    const FatStamp stamp = FatStampOf(when);
    EXPECT_EQ(GetU16(entry(0), kEntryTimeOffset), stamp.time);
    EXPECT_EQ(GetU16(entry(0), kEntryDateOffset), stamp.date);
    EXPECT_EQ(stamp.date >> 9, 2005 - 1980);
    EXPECT_EQ(entry(2)[kEntryAttrOffset], kDirectoryAttribute);
    EXPECT_EQ(GetU32(entry(2), kEntrySizeOffset), 0u);
}

TEST_F(DiskServerTest, FatStampPacksLocalTimeAndClamps) {
    std::tm t{};
    t.tm_year = 2005 - 1900;
    t.tm_mon = 3;
    t.tm_mday = 4;
    t.tm_hour = 11;
    t.tm_min = 3;
    t.tm_sec = 39;
    t.tm_isdst = -1;
    const FatStamp s = FatStampOf(std::mktime(&t));
    EXPECT_EQ(s.time, (11 << 11) | (3 << 5) | 19);
    EXPECT_EQ(s.date, (25 << 9) | (4 << 5) | 4);
    EXPECT_EQ(FatStampOf(0).date, (0 << 9) | (1 << 5) | 1); // 1970 becomes the first FAT day
}

TEST_F(DiskServerTest, SubdirectoriesListDotEntriesAndNavigationStaysInside) {
    fs::create_directories(dir.path / "REC" / "DEEP");
    WriteFile(dir.path / "REC" / "IN.DDB", "abcd");
    Server();
    EXPECT_EQ(StatusOf(Do(kCodeChangeDirectory, DirName("rec"))), kStatusOk); // lower case taken as upper
    EXPECT_EQ(server->CurrentPath(), "z:\\REC");
    const Bytes a = Do(kCodeReadDirectory);
    ASSERT_EQ(a.size(), 2 + 4 * 32u);
    EXPECT_EQ(EntryName(a, 0), ".          ");
    EXPECT_EQ(EntryName(a, 1), "..         ");
    EXPECT_EQ(a[2 + 32 + kEntryAttrOffset], kDirectoryAttribute);
    EXPECT_EQ(EntryName(a, 2), "DEEP       ");
    EXPECT_EQ(EntryName(a, 3), "IN      DDB");

    EXPECT_EQ(StatusOf(Do(kCodeChangeDirectory, DirName("DEEP"))), kStatusOk);
    EXPECT_EQ(StatusOf(Do(kCodeChangeDirectory, DirName(".."))), kStatusOk);
    EXPECT_EQ(server->CurrentPath(), "z:\\REC");
    EXPECT_EQ(StatusOf(Do(kCodeChangeDirectory, DirName("."))), kStatusOk);
    EXPECT_EQ(StatusOf(Do(kCodeChangeDirectory, DeviceName("IN", "DDB", 0x10))), kStatusNotFound); // a file
    EXPECT_EQ(StatusOf(Do(kCodeRootDirectory)), kStatusOk);
    EXPECT_EQ(server->CurrentPath(), "z:\\");
    EXPECT_NE(StatusOf(Do(kCodeChangeDirectory, DirName(".."))), kStatusOk); // no parent above the root
    EXPECT_EQ(server->CurrentPath(), "z:\\");
    // The root lists no dot entries.
    EXPECT_EQ(EntryName(Do(kCodeReadDirectory), 0), "REC        ");
}

TEST_F(DiskServerTest, ThousandByteFileReadsAsBlocksOf512And488) {
    std::string content(1000, '\0');
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i * 7);
    WriteFile(dir.path / "DATA.BIN", content);
    Server();
    uint32_t length = 0;
    const uint32_t h = Open("DATA", "BIN", &length);
    EXPECT_NE(h, 0u);
    EXPECT_EQ(length, 1000u);
    const Bytes b0 = Do(kCodeReadBlock, U32s({h, 0}));
    const Bytes b1 = Do(kCodeReadBlock, U32s({h, 1}));
    EXPECT_EQ(StatusOf(b0), kStatusOk);
    EXPECT_EQ(StatusOf(b1), kStatusOk);
    ASSERT_EQ(b0.size(), 4 + 512u);
    ASSERT_EQ(b1.size(), 4 + 488u);
    EXPECT_EQ(std::string(b0.begin() + 4, b0.end()) + std::string(b1.begin() + 4, b1.end()), content);
    EXPECT_EQ(StatusOf(Do(kCodeReadBlock, U32s({h, 2}))), kStatusIoError); // past the end
    EXPECT_EQ(StatusOf(Do(kCodeClose, U32s({h}))), kStatusOk);
    EXPECT_EQ(StatusOf(Do(kCodeReadBlock, U32s({h, 0}))), kStatusBadHandle); // closed
    EXPECT_EQ(StatusOf(Do(kCodeClose, U32s({h}))), kStatusBadHandle);
}

TEST_F(DiskServerTest, OddLengthLastBlockIsPaddedSoNoByteIsLost) {
    WriteFile(dir.path / "ODD.TXT", std::string(512, 'a') + "xyz");
    Server();
    const uint32_t h = Open("ODD", "TXT");
    const Bytes b1 = Do(kCodeReadBlock, U32s({h, 1}));
    ASSERT_EQ(b1.size(), 4 + 4u); // 3 bytes and one filler: a whole number of 16-bit words
    EXPECT_EQ(std::string(b1.begin() + 4, b1.begin() + 7), "xyz");
}

TEST_F(DiskServerTest, ZeroLengthFileOpensWithLengthZero) {
    WriteFile(dir.path / "EMPTY.TXT", "");
    Server();
    uint32_t length = 99;
    const uint32_t h = Open("EMPTY", "TXT", &length);
    EXPECT_EQ(length, 0u);
    EXPECT_EQ(StatusOf(Do(kCodeReadBlock, U32s({h, 0}))), kStatusIoError);
    EXPECT_EQ(StatusOf(Do(kCodeClose, U32s({h}))), kStatusOk);
    EXPECT_EQ(server->OpenHandleCount(), 0u);
}

TEST_F(DiskServerTest, WriteTakesBlocksInOrderAndNamesTheExpectedOne) {
    Server();
    const uint32_t h = Create("new", "ddb");
    EXPECT_EQ(StatusOf(Do(kCodeWriteBlock, WritePayload(h, 0, std::string(512, 'A')))), kStatusOk);
    const Bytes wrong = Do(kCodeWriteBlock, WritePayload(h, 5, std::string(512, 'X')));
    ASSERT_EQ(wrong.size(), 6u);
    EXPECT_EQ(StatusOf(wrong), kStatusWrongBlock);
    EXPECT_EQ(GetU32(wrong, 2), 1u);
    EXPECT_EQ(server->ExpectedBlock(h), 1u);
    // The block just written, sent again after a lost answer, is taken again in its place.
    EXPECT_EQ(StatusOf(Do(kCodeWriteBlock, WritePayload(h, 0, std::string(512, 'B')))), kStatusOk);
    EXPECT_EQ(StatusOf(Do(kCodeWriteBlock, WritePayload(h, 1, "tail"))), kStatusOk);
    EXPECT_EQ(StatusOf(Do(kCodeClose, U32s({h}))), kStatusOk);
    // Created under its upper-case short name, and listed so.
    EXPECT_EQ(ReadFile(dir.path / "NEW.DDB"), std::string(512, 'B') + "tail");
    EXPECT_EQ(EntryName(Do(kCodeReadDirectory), 0), "NEW     DDB");
}

TEST_F(DiskServerTest, CreateReplacesAnExistingFileOfTheSameShortName) {
    WriteFile(dir.path / "old.txt", "previous content");
    Server();
    const uint32_t h = Create("OLD", "TXT");
    EXPECT_EQ(StatusOf(Do(kCodeWriteBlock, WritePayload(h, 0, "new"))), kStatusOk);
    Do(kCodeClose, U32s({h}));
    EXPECT_EQ(ReadFile(dir.path / "old.txt"), "new");
    EXPECT_FALSE(fs::exists(dir.path / "OLD.TXT"));
}

TEST_F(DiskServerTest, AFileHasOneWriterAndNoReaderWhileWritten) {
    WriteFile(dir.path / "read.txt", "being read");
    Server();
    const uint32_t writer = Create("NEW", "DDB");
    EXPECT_EQ(StatusOf(Do(kCodeWriteBlock, WritePayload(writer, 0, "first"))), kStatusOk);
    const uint32_t reader = Open("READ", "TXT");
    struct Case {
        const char* what;
        uint16_t code;
        Bytes name;
    };
    const Case refused[] = {
        {"a second writer", kCodeCreate, FileName("NEW", "DDB")},
        {"a reader of a file being written", kCodeOpen, FileName("NEW", "DDB")},
        {"a writer of a file being read", kCodeCreate, FileName("READ", "TXT")},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(StatusOf(Do(c.code, c.name)), kStatusNotAccessible);
    }
    EXPECT_EQ(ReadFile(dir.path / "read.txt"), "being read");
    EXPECT_EQ(StatusOf(Do(kCodeWriteBlock, WritePayload(writer, 1, "second"))), kStatusOk);
    Do(kCodeClose, U32s({writer}));
    Do(kCodeClose, U32s({reader}));
    EXPECT_EQ(ReadFile(dir.path / "NEW.DDB"), "first" + std::string(507, '\0') + "second");
    // Two readers at once are fine, and once closed a file takes a writer again.
    Open("NEW", "DDB");
    Open("NEW", "DDB");
    const uint32_t again = Create("READ", "TXT");
    EXPECT_NE(again, 0u);
}

TEST_F(DiskServerTest, FullDiskRefusesWritesAndCreates) {
    WriteFile(dir.path / "BIG.BIN", std::string(2000, 'b'));
    Server(Options(3000));
    const uint32_t h = Create("NEW", "BIN");
    EXPECT_EQ(StatusOf(Do(kCodeWriteBlock, WritePayload(h, 0, std::string(512, 'n')))), kStatusOk);
    EXPECT_EQ(GetU32(Do(kCodeDiskInfo), kInfoFreeOffset), 488u);
    EXPECT_EQ(StatusOf(Do(kCodeWriteBlock, WritePayload(h, 1, std::string(512, 'n')))), kStatusDiskFull);
    // What fits still goes.
    EXPECT_EQ(StatusOf(Do(kCodeWriteBlock, WritePayload(h, 1, std::string(488, 'n')))), kStatusOk);
    EXPECT_EQ(StatusOf(Do(kCodeCreate, FileName("MORE", "BIN"))), kStatusDiskFullOnCreate);
    Do(kCodeClose, U32s({h}));
    EXPECT_EQ(fs::file_size(dir.path / "NEW.BIN"), 1000u);
    EXPECT_EQ(GetU32(Do(kCodeDiskInfo), kInfoFreeOffset), 0u);
}

TEST_F(DiskServerTest, MakeAndDeleteDirectoriesAndFiles) {
    WriteFile(dir.path / "GONE.TXT", "x");
    Server();
    EXPECT_EQ(StatusOf(Do(kCodeMakeDirectory, DirName("NEWDIR"))), kStatusOk);
    EXPECT_TRUE(fs::is_directory(dir.path / "NEWDIR"));
    EXPECT_NE(StatusOf(Do(kCodeMakeDirectory, DirName("NEWDIR"))), kStatusOk); // exists
    WriteFile(dir.path / "NEWDIR" / "IN.TXT", "x");
    EXPECT_EQ(StatusOf(Do(kCodeDelete, DirName("NEWDIR"))), kStatusRefused) << "only an empty directory goes";
    EXPECT_EQ(ReadFile(dir.path / "NEWDIR" / "IN.TXT"), "x");
    fs::remove(dir.path / "NEWDIR" / "IN.TXT");
    EXPECT_EQ(StatusOf(Do(kCodeDelete, DirName("NEWDIR"))), kStatusOk);
    EXPECT_FALSE(fs::exists(dir.path / "NEWDIR"));
    EXPECT_EQ(StatusOf(Do(kCodeDelete, FileName("GONE", "TXT"))), kStatusOk);
    EXPECT_FALSE(fs::exists(dir.path / "GONE.TXT"));
    EXPECT_EQ(StatusOf(Do(kCodeDelete, FileName("GONE", "TXT"))), kStatusNotFound);

    Server(Options(std::nullopt, 1)); // a device that cannot make directories
    EXPECT_NE(StatusOf(Do(kCodeMakeDirectory, DirName("OTHER"))), kStatusOk);
    EXPECT_FALSE(fs::exists(dir.path / "OTHER"));
}

TEST_F(DiskServerTest, BadRequestsGetFailureStatusAndTouchNothingOutside) {
    TempDir outside;
    WriteFile(outside.path / "SECRET.TXT", "secret");
    fs::create_directory(dir.path / "SUB");
    WriteFile(dir.path / "SUB" / "A.TXT", "a");
    fs::create_symlink(outside.path, dir.path / "LINK");
    fs::create_symlink(outside.path / "SECRET.TXT", dir.path / "SECRET.TXT");
    WriteFile(dir.path / "RO.TXT", "read only");
    Server();
    const uint32_t ro = Open("RO", "TXT");

    const auto nameBytes = [](const std::string& raw) {
        Bytes b(raw.begin(), raw.end());
        b.resize(12, ' ');
        return b;
    };
    const struct {
        const char* what;
        uint16_t code;
        Bytes payload;
    } cases[] = {
        {"unknown code", 99, {}},
        {"code 0", 0, {1, 2, 3}},
        {"code 65535", 65535, {}},
        {"listing continued before it began", kCodeReadDirectoryMore, {}},
        {"change dir, short payload", kCodeChangeDirectory, {'S', 'U'}},
        {"change dir into a link", kCodeChangeDirectory, DirName("LINK")},
        {"change dir with a slash", kCodeChangeDirectory, nameBytes("../etc")},
        {"change dir with a backslash", kCodeChangeDirectory, nameBytes("..\\x")},
        {"change dir to three dots", kCodeChangeDirectory, nameBytes("...")},
        {"change dir to the parent at the root", kCodeChangeDirectory, DirName("..")},
        {"change dir, embedded blank", kCodeChangeDirectory, nameBytes("S B")},
        {"change dir, empty name", kCodeChangeDirectory, nameBytes("")},
        {"make dir with a slash", kCodeMakeDirectory, nameBytes("A/B")},
        {"make dir named ..", kCodeMakeDirectory, DirName("..")},
        {"make dir, short payload", kCodeMakeDirectory, {}},
        {"delete the parent", kCodeDelete, DirName("..")},
        {"delete with a slash", kCodeDelete, nameBytes("SUB/A.TXT")},
        {"delete through a link", kCodeDelete, FileName("SECRET", "TXT")},
        {"delete, short payload", kCodeDelete, {'S'}},
        {"open through a link", kCodeOpen, FileName("SECRET", "TXT")},
        {"open a directory", kCodeOpen, DirName("SUB")},
        {"open with a slash", kCodeOpen, nameBytes("/etc/passwd")},
        {"open, short payload", kCodeOpen, {}},
        {"create with a slash", kCodeCreate, nameBytes("../X.TXT")},
        {"create over a directory", kCodeCreate, DirName("SUB")},
        {"create over a link", kCodeCreate, FileName("SECRET", "TXT")},
        {"create, short payload", kCodeCreate, {'A'}},
        {"read, bad handle", kCodeReadBlock, U32s({12345, 0})},
        {"read, handle 0", kCodeReadBlock, U32s({0, 0})},
        {"read, short payload", kCodeReadBlock, U32s({ro})},
        {"read, huge block", kCodeReadBlock, U32s({ro, 0xFFFFFFFF})},
        {"write, bad handle", kCodeWriteBlock, WritePayload(777, 0, "x")},
        {"write on a file opened for reading", kCodeWriteBlock, WritePayload(ro, 0, "x")},
        {"write, short payload", kCodeWriteBlock, U32s({ro, 0})},
        {"close, bad handle", kCodeClose, U32s({4242})},
        {"close, short payload", kCodeClose, {1, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes a = Do(c.code, c.payload);
        ASSERT_GE(a.size(), 2u);
        EXPECT_NE(StatusOf(a), kStatusOk);
        EXPECT_NE(StatusOf(a), kStatusMore);
        EXPECT_EQ(a.size() % 2, 0u);
    }
    EXPECT_EQ(server->CurrentPath(), "z:\\");
    EXPECT_EQ(ReadFile(outside.path / "SECRET.TXT"), "secret");
    EXPECT_EQ(std::distance(fs::directory_iterator(outside.path), fs::directory_iterator{}), 1);
    EXPECT_TRUE(fs::exists(dir.path / "SUB" / "A.TXT"));
    EXPECT_EQ(ReadFile(dir.path / "RO.TXT"), "read only");
    EXPECT_FALSE(fs::exists(dir.path.parent_path() / "X.TXT"));
}

TEST_F(DiskServerTest, WriteWithALengthBeyondTheBlockIsRefused) {
    Server();
    const uint32_t h = Create("W", "BIN");
    Bytes p = WritePayload(h, 0, "");
    PutU16(p, 8, 513);
    EXPECT_EQ(StatusOf(Do(kCodeWriteBlock, p)), kStatusBadRequest);
    Bytes shortOne = WritePayload(h, 0, "abcdef");
    shortOne.resize(kWriteHeadSize + 3); // claims 6 bytes, carries 3
    EXPECT_EQ(StatusOf(Do(kCodeWriteBlock, shortOne)), kStatusBadRequest);
    EXPECT_EQ(fs::file_size(dir.path / "W.BIN"), 0u);
}

TEST_F(DiskServerTest, TooManyOpenFilesCloseTheLeastRecentlyUsed) {
    for (size_t i = 0; i <= DiskServer::kMaxOpenFiles; ++i)
        WriteFile(dir.path / ("F" + std::to_string(i) + ".TXT"), "data");
    Server();
    std::vector<uint32_t> handles;
    for (size_t i = 0; i <= DiskServer::kMaxOpenFiles; ++i) {
        handles.push_back(Open("F" + std::to_string(i), "TXT"));
        if (i == 0)
            Open("F0", "TXT"); // a second handle on the same file, used later than the first
    }
    EXPECT_EQ(server->OpenHandleCount(), DiskServer::kMaxOpenFiles);
    EXPECT_EQ(StatusOf(Do(kCodeReadBlock, U32s({handles[0], 0}))), kStatusBadHandle);
    EXPECT_EQ(StatusOf(Do(kCodeReadBlock, U32s({handles.back(), 0}))), kStatusOk);
    // Handles are never reused while the server runs.
    std::sort(handles.begin(), handles.end());
    EXPECT_EQ(std::adjacent_find(handles.begin(), handles.end()), handles.end());
}

} // namespace
} // namespace zarno::device
