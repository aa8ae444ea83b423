// zarno-cli render on small recordings: the PNG it writes, what it refuses, and the directory it
// leaves as it found it.

#include "cli/png_output.h"
#include "cli/render_command.h"
#include "tests/support/recording_prompts.h"
#include "tests/support/sgy_fixture.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace zarno::testing {
namespace {

class RenderCommand : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        std::vector<std::vector<double>> two(2);
        for (int i = 0; i < 1000; ++i) {
            two[0].push_back(std::sin(i * 0.05) * std::exp(-i * 0.003));
            two[1].push_back(std::cos(i * 0.04));
        }
        ASSERT_TRUE(SgyFixture::OfSamples(two).write(Path("two.sgy")));
        ASSERT_TRUE(SgyFixture::OfSamples({std::vector<double>(256, 3.0)}).write(Path("flat.sgy")));
    }
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    int Run(const QStringList& args) {
        errText.clear();
        QBuffer err(&errText);
        err.open(QIODevice::WriteOnly);
        return cli::RunRender(args, err, prompts);
    }
    // The PNG's own header: 8 bits per channel, colour type 2 (RGB without alpha).
    static bool IsRgb24Png(const QString& path) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return false;
        const QByteArray head = f.read(26);
        return head.size() == 26 && head.startsWith("\x89PNG") && head[24] == 8 && head[25] == 2;
    }
    QTemporaryDir dir;
    RecordingPrompts prompts;
    QByteArray errText;
};

TEST_F(RenderCommand, WritesAPictureOfTheAskedSize) {
    struct Case {
        QStringList options;
        QSize size;
    };
    const Case cases[] = {
        {{}, {1000, 600}},
        {{"--width", "640", "--height", "360", "--fill", "upper", "--marker", "300", "--marker", "120"}, {640, 360}},
        {{"--single", "2", "--no-grid", "--length", "--velocity", "4000"}, {1000, 600}},
        {{"--spectrum", "--width", "800"}, {800, 600}},
        {{"--spectrum", "--single", "1"}, {1000, 600}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options.join(' ').toStdString());
        const QString out = Path("out.png");
        QFile::remove(out);
        ASSERT_EQ(Run(c.options + QStringList{"-o", out, Path("two.sgy")}), 0) << errText.toStdString();
        EXPECT_TRUE(IsRgb24Png(out));
        const QImage image(out);
        EXPECT_EQ(image.size(), c.size);
        // Never a blank picture: the traces are black.
        int black = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                black += image.pixel(x, y) == qRgb(0, 0, 0) ? 1 : 0;
        EXPECT_GT(black, 200);
    }
    // The gain and filter settings beside the file are read, never created.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"flat.sgy", "out.png", "two.sgy"}));
}

TEST_F(RenderCommand, FlatRecordingIsALineAcrossTheMiddle) {
    const QString out = Path("flat.png");
    ASSERT_EQ(Run({"--no-grid", "-o", out, Path("flat.sgy")}), 0);
    const QImage image(out);
    // One trace in the area's GL rows 30 … 598: its middle is row 314, image row 285.
    int black = 0;
    for (int y = 283; y <= 287; ++y)
        black += image.pixel(500, y) == qRgb(0, 0, 0) ? 1 : 0;
    EXPECT_GE(black, 1);
}

TEST_F(RenderCommand, RefusesWrongCallsAndReportsFailures) {
    const QString out = Path("bad.png");
    struct Case {
        QStringList args;
        int status;
    };
    const Case cases[] = {
        {{Path("two.sgy")}, 2},                                       // no output
        {{"-o", out}, 2},                                             // no input
        {{"--width", "0", "-o", out, Path("two.sgy")}, 2},            // no pixels
        {{"--height", "100000", "-o", out, Path("two.sgy")}, 2},      // far too large
        {{"--fill", "middle", "-o", out, Path("two.sgy")}, 2},        // unknown fill
        {{"--single", "3", "-o", out, Path("two.sgy")}, 2},           // the document holds two traces
        {{"--single", "2", "-o", out, Path("flat.sgy")}, 2},          // the file has one
        {{"--marker", "1", "--marker", "2", "--marker", "3", "--marker", "4", "--marker", "5", "--marker", "6", "-o",
          out, Path("two.sgy")},
         2},                                                          // six markers
        {{"--marker", "-1", "-o", out, Path("two.sgy")}, 2},          // no sample, as report says too
        {{"--width", "-o", out, Path("two.sgy")}, 2},                 // an option without its value
        {{"-o", out, Path("missing.sgy")}, 1},                        // not loadable
        {{"-o", Path("no-such-dir/x.png"), Path("two.sgy")}, 1},      // not writable
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        EXPECT_EQ(Run(c.args), c.status);
        EXPECT_FALSE(QFile::exists(out));
    }
}

TEST_F(RenderCommand, TheProgramRunsIt) {
    const QString out = Path("cli.png");
    QProcess p;
    p.start(QStringLiteral(ZARNO_CLI_PATH), {"render", "--width", "320", "--height", "200", "-o", out, Path("two.sgy")});
    ASSERT_TRUE(p.waitForFinished(120000));
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    EXPECT_EQ(QImage(out).size(), QSize(320, 200));
}

// The fast encoder keeps every pixel: a line drawing like the renderer's, noise that no filter
// predicts, and a picture with an alpha channel, which keeps it.
TEST(PngOutput, TheFileHoldsThePicturePixelForPixel) {
    QImage drawing(640, 360, QImage::Format_RGB888);
    drawing.fill(Qt::white);
    QPainter painter(&drawing);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::blue, 1));
    for (int x = 0; x < 640; x += 64)
        painter.drawLine(x, 0, x, 359);
    painter.setPen(QPen(Qt::black, 2));
    for (int x = 1; x < 640; ++x)
        painter.drawLine(x - 1, int(180 + 150 * std::sin((x - 1) * 0.07)), x, int(180 + 150 * std::sin(x * 0.07)));
    painter.end();
    QImage noise(97, 13, QImage::Format_RGB888);
    QImage translucent(33, 21, QImage::Format_ARGB32);
    unsigned seed = 7;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16 & 0xFF; };
    for (int y = 0; y < noise.height(); ++y)
        for (int x = 0; x < noise.width(); ++x)
            noise.setPixelColor(x, y, QColor(int(next()), int(next()), int(next())));
    for (int y = 0; y < translucent.height(); ++y)
        for (int x = 0; x < translucent.width(); ++x)
            translucent.setPixelColor(x, y, QColor(int(next()), int(next()), int(next()), int(next())));
    for (const QImage& image : {drawing, noise, translucent}) {
        SCOPED_TRACE(image.width());
        const QByteArray png = cli::EncodePng(image);
        QImage back;
        ASSERT_TRUE(back.loadFromData(png, "PNG"));
        EXPECT_EQ(back.hasAlphaChannel(), image.hasAlphaChannel());
        const QImage::Format format = image.hasAlphaChannel() ? QImage::Format_RGBA8888 : QImage::Format_RGB888;
        EXPECT_EQ(back.convertToFormat(format), image.convertToFormat(format));
    }
    EXPECT_TRUE(cli::EncodePng(QImage()).isEmpty());
}

} // namespace
} // namespace zarno::testing
