// A file panel's rows: computer entries, the four sort orders, the shown count, the model's columns
// and "Выделить все"; the instrument's path rules and the splitter's left column.

#include "app/filemanager/computer_entries.h"
#include "app/filemanager/panel_cursor.h"
#include "app/filemanager/file_manager.h"
#include "app/filemanager/panel_model.h"
#include "app/filemanager/panel_sort.h"
#include "app/filemanager/splitter_scaling.h"

#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

using namespace zarno;

namespace {

struct FixtureFile {
    const char* name;
    int size; // -1: a directory
    int day;  // of March 2024: the last change
};

// A directory "panel" inside a temporary directory, so that it has a ".." row.
class PanelFixture : public ::testing::Test {
protected:
    void Make(const std::vector<FixtureFile>& files) {
        ASSERT_TRUE(QDir(top.path()).mkdir("panel"));
        dir = top.filePath("panel");
        for (const auto& f : files) {
            const QString path = dir + "/" + f.name;
            if (f.size < 0) {
                ASSERT_TRUE(QDir(dir).mkdir(f.name));
            } else {
                QFile file(path);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly));
                file.write(QByteArray(f.size, 'x'));
                file.close();
            }
            const qint64 when = QDateTime(QDate(2024, 3, f.day), QTime(7, 8, 9), Qt::UTC).toSecsSinceEpoch();
            const timespec times[2] = {{when, 0}, {when, 0}};
            ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
        }
        ASSERT_TRUE(QDir::setCurrent(dir));
    }
    static std::vector<QString> Names(const PanelModel& model) {
        std::vector<QString> names;
        for (int r = 0; r < model.rowCount(); ++r)
            names.push_back(model.entry(r)->fileName);
        return names;
    }
    QTemporaryDir top;
    QString dir;
};

const std::vector<FixtureFile> kMixed = {
    {"ZDIR", -1, 1},    {"adir", -1, 2},  {"b.sgy", 300, 9},  {"a.bc.sgy", 50, 3},
    {"noext", 7000, 4}, {"c.txt", 10, 5}, {"A.DDB", 2000, 6}, {"x.s", 1, 8},
};

TEST_F(PanelFixture, ComputerEntriesTitleTypeAndDeviceName) {
    Make({{"a.bc.sgy", 5, 1}, {"noext", 3, 1}, {"LONGNAME123.text", 1, 1}, {"ZDIR", -1, 1}, {".hidden", -1, 1},
          {".profile", 4, 1}});
    struct Case {
        const char* name;
        const char* title;
        const char* type;
        const char* deviceName; // 11 characters of name and extension
        uint8_t attribute;
        uint32_t size;
    } cases[] = {
        {"a.bc.sgy", "a.bc", "sgy", "a.bc    sgy", 0x20, 5},
        {"noext", "noext", "   ", "noext      ", 0x20, 3},
        {"LONGNAME123.text", "LONGNAME123", "text", "LONGNAMEtex", 0x20, 1},
        {"ZDIR", "ZDIR", "<Dir>", "ZDIR       ", 0x10, 0},
        {"..", "..", "<Dir>", "..         ", 0x10, 0},
        // A leading dot marks a hidden name, not an extension.
        {".hidden", ".hidden", "<Dir>", ".hidden    ", 0x10, 0},
        {".profile", ".profile", "   ", ".profile   ", 0x20, 4},
    };
    const auto rows = ListCurrentDirectory();
    ASSERT_EQ(rows.size(), std::size(cases));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto it =
            std::find_if(rows.begin(), rows.end(), [&](const auto& e) { return e->fileName == c.name; });
        ASSERT_NE(it, rows.end());
        const CFileEntry& e = **it;
        EXPECT_EQ(e.title, c.title);
        EXPECT_EQ(e.typeText, c.type);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(e.deviceName.data()), 11), c.deviceName);
        EXPECT_EQ(e.deviceName[11], c.attribute);
        EXPECT_EQ(e.size, c.size);
        EXPECT_EQ(e.isDirectory, c.attribute == 0x10);
        EXPECT_EQ(QFileInfo(e.fullPath).canonicalFilePath(),
                  QFileInfo(dir + "/" + c.name).canonicalFilePath());
    }
}

TEST_F(PanelFixture, FourSortOrders) {
    Make(kMixed);
    PanelModel model;
    struct Case {
        int32_t mode;
        std::vector<QString> order; // files only for size, where the directories tie at the front
        bool filesOnly;
    } cases[] = {
        {kSortByType, {"..", "adir", "ZDIR", "noext", "A.DDB", "x.s", "a.bc.sgy", "b.sgy", "c.txt"}, false},
        {kSortByName, {"..", "adir", "ZDIR", "a.bc.sgy", "A.DDB", "b.sgy", "c.txt", "noext", "x.s"}, false},
        {kSortBySize, {"x.s", "c.txt", "a.bc.sgy", "b.sgy", "A.DDB", "noext"}, true},
        // ".." (the fixture's own parent) changed just now.
        {kSortByDate, {"ZDIR", "adir", "a.bc.sgy", "noext", "c.txt", "A.DDB", "x.s", "b.sgy", ".."}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        model.FillFromDirectory(dir, c.mode);
        std::vector<QString> names = Names(model);
        if (c.filesOnly) {
            // Directories (size 0) come before every file.
            for (int r = 0; r < 3; ++r)
                EXPECT_TRUE(model.entry(r)->isDirectory) << r;
            names.erase(names.begin(), names.begin() + 3);
        }
        EXPECT_EQ(names, c.order);
    }
    // Sorting again in place gives the same order as a fresh fill.
    model.FillFromDirectory(dir, kSortByName);
    model.SortRows(kSortByType);
    EXPECT_EQ(Names(model), cases[0].order);
}

TEST(PanelSort, SizesAbove2GbSortAfterSmallOnes) {
    CFileEntry small, big;
    small.size = 10;
    big.size = 0xF0000000u;
    EXPECT_LT(CompareEntries(small, big, kSortBySize), 0);
    EXPECT_GT(CompareEntries(big, small, kSortBySize), 0);
    CFileEntry dated, undated;
    dated.lastChange = QDateTime(QDate(1990, 1, 1), QTime(0, 0));
    EXPECT_LT(CompareEntries(undated, dated, kSortByDate), 0);
}

TEST_F(PanelFixture, ShownCountLeavesOutTheParentRowExceptAtTheRoot) {
    Make({{"one", 1, 1}, {"two", -1, 1}});
    PanelModel model;
    model.FillFromDirectory(dir, kSortByType);
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.shownCount(), 2);

    ASSERT_TRUE(QDir::setCurrent("/"));
    model.FillFromDirectory("/", kSortByType);
    EXPECT_EQ(model.shownCount(), model.rowCount());
    for (int r = 0; r < model.rowCount(); ++r)
        EXPECT_NE(model.entry(r)->fileName, "..");

    // Instrument listings: ".." is not counted below "z:\"; a listing without it is counted whole.
    std::vector<std::unique_ptr<CFileEntry>> rows;
    rows.push_back(std::make_unique<CFileEntry>());
    rows.back()->isDirectory = true;
    rows.back()->fileName = "..";
    rows.push_back(std::make_unique<CFileEntry>());
    EXPECT_EQ(ShownCount("z:\\REC", rows), 1);
    EXPECT_EQ(ShownCount("z:\\", rows), 2);
    rows.erase(rows.begin());
    EXPECT_EQ(ShownCount("z:\\REC", rows), 1);
    EXPECT_EQ(ShownCount("/tmp/gone", {}), 0);
}

TEST_F(PanelFixture, ModelColumnsTextsAndIcons) {
    Make({{"a.bc.sgy", 1234, 5}});
    PanelModel model;
    std::vector<PanelIconRequest> requests;
    model.setIconProvider([&](const PanelIconRequest& r) {
        requests.push_back(r);
        return QVariant(QStringLiteral("icon"));
    });
    model.FillFromDirectory(dir, kSortByType);
    ASSERT_EQ(model.rowCount(), 2);
    ASSERT_EQ(model.columnCount(), 4);
    const char* headers[] = {"Имя файла", "Тип", "Размер", "Изменен"};
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(model.headerData(c, Qt::Horizontal).toString(), QString::fromUtf8(headers[c]));

    const int file = 1;
    EXPECT_EQ(model.data(model.index(file, 0)).toString(), "a.bc");
    EXPECT_EQ(model.data(model.index(file, 1)).toString(), "sgy");
    EXPECT_EQ(model.data(model.index(file, 2)).toString(), "1234");
    EXPECT_EQ(model.data(model.index(file, 3)).toString(), " 05/03/2024 07:08:09");
    EXPECT_EQ(model.data(model.index(file, 2), Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    EXPECT_EQ(model.data(model.index(file, 0), Qt::TextAlignmentRole).value<Qt::Alignment>() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignLeft);
    EXPECT_EQ(model.data(model.index(file, 1), kEntryRole).value<const CFileEntry*>(), model.entry(file));
    EXPECT_FALSE(model.data(model.index(5, 0)).isValid());

    EXPECT_EQ(model.data(model.index(0, 0), Qt::DecorationRole).toString(), "icon");
    EXPECT_FALSE(model.data(model.index(0, 1), Qt::DecorationRole).isValid());
    model.data(model.index(file, 0), Qt::DecorationRole);
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].path, dir) << "the parent row takes the current directory's icon";
    EXPECT_TRUE(requests[0].isDirectory);
    EXPECT_EQ(requests[1].path, model.entry(file)->fullPath);
    EXPECT_FALSE(requests[1].onDevice);

    // A device time is shown as the instrument's clock reads it.
    EXPECT_EQ(FormatChangeTime(
                  FatDateTime(uint16_t((44 << 9) | (12 << 5) | 31), uint16_t((23 << 11) | (59 << 5) | 29))),
              " 31/12/2024 23:59:58");
}

TEST(PanelColumns, DefaultAndSavedWidths) {
    PanelState state;
    const int expected[] = {160, 40, 60, 120};
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(ColumnWidth(state, c, 419), expected[c]) << c;
    state.columnWidths = {0, 77, 0, 5};
    EXPECT_EQ(ColumnWidth(state, 0, 400), 160);
    EXPECT_EQ(ColumnWidth(state, 1, 400), 77);
    EXPECT_EQ(ColumnWidth(state, 3, 400), 5);
}

TEST_F(PanelFixture, SelectAllFilesSelectsFilesOnlyAndKeepsTheRest) {
    Make({{"d1", -1, 1}, {"d2", -1, 1}, {"f1", 1, 1}, {"f2", 2, 1}});
    PanelModel model;
    model.FillFromDirectory(dir, kSortByType); // .., d1, d2, f1, f2
    QItemSelectionModel selection(&model);
    selection.select(model.index(1, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    model.SelectAllFiles(selection);
    std::vector<int> rows;
    for (const QModelIndex& i : selection.selectedRows())
        rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<int>{1, 3, 4}));

    // Sorting moves the selection with its entries.
    model.SortRows(kSortBySize); // the directories first, f1 (1 byte) before f2
    model.SortRows(kSortByName);
    std::vector<QString> selectedNames;
    for (const QModelIndex& i : selection.selectedRows())
        selectedNames.push_back(model.entry(i.row())->fileName);
    std::sort(selectedNames.begin(), selectedNames.end());
    EXPECT_EQ(selectedNames, (std::vector<QString>{"d1", "f1", "f2"}));

    // Only directories: nothing new is selected.
    PanelModel dirsOnly;
    ASSERT_TRUE(QDir::setCurrent(dir + "/d1"));
    dirsOnly.FillFromDirectory(dir + "/d1", kSortByType);
    QItemSelectionModel none(&dirsOnly);
    dirsOnly.SelectAllFiles(none);
    EXPECT_FALSE(none.hasSelection());
}

TEST(DevicePaths, NextPathAndProposedNames) {
    struct Case {
        const char* path;
        const char* name;
        const char* next;
    } cases[] = {
        {"z:\\DATA", "..", "z:\\"},   {"z:\\A\\B", "..", "z:\\A"},     {"z:\\", "..", "z:\\"},
        {"z:\\A\\B", "Z:\\", "z:\\"}, {"z:\\", "REC", "z:\\REC"},      {"z:\\REC", "A", "z:\\REC\\A"},
        {"z:\\REC", "", "z:\\REC"},   {"z:\\REC\\A", "..", "z:\\REC"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + " + " + c.name);
        EXPECT_EQ(NextDevicePath(c.path, c.name), c.next);
    }
    const std::pair<const char*, const char*> names[] = {
        {"WAVE.DDB", "WAVE.sgy"}, {"WAVE.SGY", "WAVE.SGY"}, {"wave.ddb", "wave.sgy"}, {"NOEXT", "NOEXT"}};
    for (const auto& [file, proposed] : names) {
        CFileEntry e;
        e.fileName = file;
        const QString f = file;
        const qsizetype dot = f.lastIndexOf('.');
        e.title = dot < 0 ? f : f.left(dot);
        e.typeText = dot < 0 ? QString() : f.mid(dot + 1);
        EXPECT_EQ(ProposedCopyName(e), proposed) << file;
    }
}

TEST(Splitter, StartWidthAndScaling) {
    const std::pair<int, int> starts[] = {{0, 150}, {90, 150}, {150, 150}, {400, 400}};
    for (const auto& [saved, width] : starts)
        EXPECT_EQ(InitialLeftColumnWidth(saved), width) << saved;
    struct Case {
        int column, newWidth, previous, result;
    } cases[] = {
        {300, 1200, 800, 450},                  // keeps its proportion
        {300, 20, 800, 11},                     // never below minimum + 1
        {300, 400, 800, 150},  {5, 30, 0, 150}, // no previous width: taken as 1
        {300, 0, 800, 300},                     // a zero width changes nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        EXPECT_EQ(ScaleLeftColumn(c.column, c.newWidth, c.previous), c.result);
    }
}

// Where the cursor lands when a panel's rows are replaced.
TEST(PanelCursor, LandsWhereAKeyboardUserExpects) {
    const auto rows = [](std::initializer_list<const char*> names) {
        std::vector<std::unique_ptr<CFileEntry>> out;
        for (const char* name : names) {
            auto e = std::make_unique<CFileEntry>();
            e->fileName = e->title = QString::fromLatin1(name);
            out.push_back(std::move(e));
        }
        return out;
    };
    struct Case {
        const char* what;
        bool onDevice;
        QString newPath;
        PanelCursor before;
        const char* expected;
    } cases[] = {
        {"into a directory", false, "/d/SUB", {"/d", "SUB", 3}, ".."},
        {"back up", false, "/d", {"/d/SUB", "A.TXT", 1}, "SUB"},
        {"back up to a root", false, "/", {"/SUB", "A.TXT", 1}, "SUB"},
        {"back up on the instrument", true, "z:\\", {"z:\\sub", "P01.DDB", 1}, "SUB"},
        {"same directory, same entry", false, "/d", {"/d", "B.TXT", 0}, "B.TXT"},
        {"same directory, entry gone", false, "/d", {"/d", "GONE.TXT", 9}, "SUB"}, // the last row
        {"elsewhere", false, "/e", {"/d", "SUB", 2}, ".."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PanelModel model;
        model.SetRows(rows({"..", "A.TXT", "SUB", "B.TXT"}), c.onDevice, c.newPath, kSortByName);
        const int row = CursorRowAfterRefill(model, c.before);
        ASSERT_GE(row, 0);
        EXPECT_EQ(model.entry(row)->fileName, QString::fromLatin1(c.expected));
    }
    PanelModel empty;
    EXPECT_EQ(CursorRowAfterRefill(empty, {"/d", "SUB", 0}), -1);
}

// A saved position from a wider window must not squeeze either column below its controls.
TEST(Splitter, LaidOutWithinBothColumnsMinimums) {
    struct Case {
        int requested, available, leftMin, rightMin, result;
    } cases[] = {
        {400, 1000, 220, 220, 400}, // fits: as asked
        {150, 1000, 220, 220, 220}, // narrower than its controls
        {900, 1000, 220, 220, 780}, // leaves the right column its minimum
        {300, 400, 220, 220, 220},  // both cannot fit: the left keeps its minimum
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.requested);
        EXPECT_EQ(ClampLeftColumn(c.requested, c.available, c.leftMin, c.rightMin), c.result);
    }
}

} // namespace
