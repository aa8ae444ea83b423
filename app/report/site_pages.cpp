#include "app/report/site_pages.h"

#include "app/io/whole_file.h"
#include "app/report/pile_strip.h"
#include "app/site/site_outputs.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace zarno {

namespace {

using site::PileResult;
using site::SiteResult;

constexpr int kDpi = 300;
constexpr int kPilesPerTracePage = 6;

double Px(double mm) {
    return mm * kDpi / 25.4;
}

// A text marked with QT_TRANSLATE_NOOP in this file's context.
QString Text(Language language, const char* source) {
    return TextIn(language, "zarno::SitePages", source);
}

// The speed the lengths use and where it came from, with the calibrated one beside a given one.
QString VelocityLine(Language language, const site::SiteVelocity& v) {
    const site::Calibration& c = v.calibration;
    const QString calibrated =
        c.value ? Text(language, QT_TRANSLATE_NOOP("zarno::SitePages", "калибровка %1 м/с по сваям: %2"))
                      .arg(*c.value, 0, 'f', 0)
                      .arg(c.used.size())
                : Text(language, QT_TRANSLATE_NOOP("zarno::SitePages", "без калибровки"));
    if (v.source == site::VelocitySource::Given)
        return Text(language, QT_TRANSLATE_NOOP("zarno::SitePages", "Скорость волны %1 м/с (задана; %2)"))
            .arg(*v.value, 0, 'f', 0)
            .arg(calibrated);
    if (v.source == site::VelocitySource::Calibrated)
        return Text(language, QT_TRANSLATE_NOOP("zarno::SitePages", "Скорость волны %1 м/с (%2)"))
            .arg(*v.value, 0, 'f', 0)
            .arg(calibrated);
    return Text(language, QT_TRANSLATE_NOOP("zarno::SitePages", "Скорость волны не задана: длин нет (задайте скорость или известные "
                                       "длины в site.csv)"));
}

// A reported value, marked when it is the engineer's decision.
QString Decided(Language language, const QString& value, bool decided) {
    return decided ? Text(language, QT_TRANSLATE_NOOP("zarno::SitePages", "%1 (р)")).arg(value) : value;
}

QFont PageFont(double heightMm, bool bold = false) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(int(std::lround(Px(heightMm))));
    f.setBold(bold);
    return f;
}

// The drawing of one document: the painter, the page's area and where the next line goes.
class SiteDocument {
public:
    SiteDocument(QPdfWriter& writer, QPainter& painter, Language language)
        : m_writer(writer), m_p(painter), m_language(language) {
        m_width = writer.width();
        m_height = writer.height();
    }

    void Summary(const SiteResult& site, const QString& title);
    void Traces(const SiteResult& site);

private:
    void NewPage();
    void Line(const QString& text, double heightMm = 3.2, bool bold = false);
    void TableHeader();
    void TableRow(const PileResult& p, bool shade);

    QPdfWriter& m_writer;
    QPainter& m_p;
    const Language m_language;
    double m_width = 0, m_height = 0;
    double m_y = Px(15);
    bool m_fresh = true; // nothing drawn on the current page yet
};

const double kLeft = Px(15);
const double kBottom = Px(282);

// Column left edges in mm from the left margin, and their titles.
struct Column {
    double atMm;
    const char* title;
};
const Column kColumns[] = {{0, QT_TRANSLATE_NOOP("zarno::SitePages", "Свая")},
                           {24, QT_TRANSLATE_NOOP("zarno::SitePages", "Удары")},
                           {38, QT_TRANSLATE_NOOP("zarno::SitePages", "Подошва, мс")},
                           {58, QT_TRANSLATE_NOOP("zarno::SitePages", "Длина, м")},
                           {76, QT_TRANSLATE_NOOP("zarno::SitePages", "Проект, м")},
                           {93, QT_TRANSLATE_NOOP("zarno::SitePages", "Откл., %")},
                           {108, QT_TRANSLATE_NOOP("zarno::SitePages", "Класс*")},
                           {124, QT_TRANSLATE_NOOP("zarno::SitePages", "Аномалии; отбракованные удары")}};

void SiteDocument::NewPage() {
    if (!m_fresh)
        m_writer.newPage();
    m_fresh = true;
    m_y = Px(15);
}

void SiteDocument::Line(const QString& text, double heightMm, bool bold) {
    if (m_y + Px(heightMm * 1.5) > kBottom) // a long list of messages runs on to the next page
        NewPage();
    m_p.setFont(PageFont(heightMm, bold));
    const QRectF box(kLeft, m_y, m_width - 2 * kLeft, Px(heightMm * 1.5));
    m_p.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    m_y += Px(heightMm * 1.5);
    m_fresh = false;
}

void SiteDocument::TableHeader() {
    m_p.setFont(PageFont(2.8, true));
    for (const Column& c : kColumns)
        m_p.drawText(QPointF(kLeft + Px(c.atMm), m_y + Px(3.2)), Text(m_language, c.title));
    m_y += Px(4.5);
    m_p.setPen(QPen(Qt::black, Px(0.2)));
    m_p.drawLine(QPointF(kLeft, m_y - Px(0.8)), QPointF(m_width - kLeft, m_y - Px(0.8)));
    m_fresh = false;
}

void SiteDocument::TableRow(const PileResult& p, bool shade) {
    const double h = Px(4.4);
    if (shade)
        m_p.fillRect(QRectF(kLeft, m_y, m_width - 2 * kLeft, h), QColor(238, 238, 238));
    QString rest = site::AnomaliesTextIn(m_language, p);
    if (!p.stack.rejected.empty())
        rest += (rest.isEmpty() ? QString() : QStringLiteral("; ")) +
                Text(m_language, QT_TRANSLATE_NOOP("zarno::SitePages", "отбракованы %1")).arg(site::RejectedText(p));
    if (!p.problems.isEmpty())
        rest += (rest.isEmpty() ? QString() : QStringLiteral("; ")) + p.problems.join(QStringLiteral("; "));
    auto number = [this](const std::optional<double>& v, int decimals) {
        return v ? NumberIn(m_language, site::RoundedForText(*v, decimals), decimals) : QStringLiteral("–");
    };
    const bool classDecided = p.decidedClass != site::PileClass::None;
    const QString cls = classDecided      ? Decided(m_language, site::ClassName(p.decidedClass), true)
                        : !p.consistent() ? Text(m_language, QT_TRANSLATE_NOOP("zarno::SitePages", "нет удара"))
                        : site::ClassName(p.proposedClass).isEmpty() ? QStringLiteral("–")
                                                                     : site::ClassName(p.proposedClass);
    const QString cells[] = {p.pile,
                             QStringLiteral("%1/%2").arg(p.stack.used.size()).arg(p.blows),
                             p.stack.toe.found ? NumberIn(m_language, p.stack.toe.timeMs, 3)
                                               : QStringLiteral("–"),
                             Decided(m_language, number(p.reportedLengthM(), 2), p.decidedLengthM.has_value()),
                             number(p.designLengthM, 2),
                             number(p.reportedDeviationPct(), 1),
                             cls,
                             rest};
    m_p.setFont(PageFont(2.8));
    const QFontMetricsF metrics(m_p.font());
    for (std::size_t i = 0; i < std::size(kColumns); ++i) {
        const double right =
            i + 1 < std::size(kColumns) ? kLeft + Px(kColumns[i + 1].atMm) - Px(1.5) : m_width - kLeft;
        const double left = kLeft + Px(kColumns[i].atMm);
        m_p.drawText(QPointF(left, m_y + Px(3.2)),
                     metrics.elidedText(cells[i], Qt::ElideRight, right - left));
    }
    m_y += h;
}

void SiteDocument::Summary(const SiteResult& site, const QString& title) {
    Line(Text(m_language, QT_TRANSLATE_NOOP("zarno::SitePages", "Площадка %1")).arg(title), 5.0, true);
    m_y += Px(2);
    Line(VelocityLine(m_language, site.velocity), 3.4, true);
    for (const site::ExcludedSpeed& e : site.velocity.calibration.excluded)
        Line(Text(m_language, QT_TRANSLATE_NOOP("zarno::SitePages", "Исключена из калибровки: %1, %2 м/с (%3% от среднего)"))
                 .arg(e.pile)
                 .arg(e.velocity, 0, 'f', 0)
                 .arg(NumberIn(m_language, e.deviationPct, 1)));
    for (const QString& w : site.velocity.calibration.warnings)
        Line(Text(m_language, QT_TRANSLATE_NOOP("zarno::SitePages", "Внимание: %1")).arg(w));
    m_y += Px(3);
    TableHeader();
    for (std::size_t i = 0; i < site.piles.size(); ++i) {
        if (m_y + Px(4.4) > kBottom - Px(6)) {
            NewPage();
            TableHeader();
        }
        TableRow(site.piles[i], i % 2 == 1);
    }
    m_y += Px(2);
    Line(Text(m_language, QT_TRANSLATE_NOOP("zarno::SitePages", "* Класс предложен по усреднённой трассе; решает инженер. (р) — решение инженера.")),
         2.8);
    if (!site.messages.isEmpty()) {
        m_y += Px(3);
        Line(Text(m_language, QT_TRANSLATE_NOOP("zarno::SitePages", "Не вошло в расчёт площадки")), 3.2, true);
        for (const QString& m : site.messages)
            Line(m, 2.8);
    }
}

void SiteDocument::Traces(const SiteResult& site) {
    const std::optional<double> v = site.velocity.value;
    PileStripOptions options;
    options.language = m_language;
    options.xMax = SharedStripRange(site.piles, v);
    std::span<const PileResult> rest(site.piles);
    while (!rest.empty()) {
        NewPage();
        Line(Text(m_language, QT_TRANSLATE_NOOP("zarno::SitePages", "Усреднённые трассы, совмещённые по удару")), 4.0,
             true);
        Line(VelocityLine(m_language, site.velocity), 2.8);
        m_y += Px(2);
        const double stripMm = (kBottom - m_y) / kPilesPerTracePage / Px(1); // the rest of the page
        const int drawn = PaintStackedPiles(m_p, QRectF(kLeft, m_y, m_width - 2 * kLeft, kBottom - m_y), rest,
                                            v, stripMm, options);
        m_fresh = false;
        if (drawn <= 0)
            break;
        rest = rest.subspan(std::size_t(drawn));
    }
}

} // namespace

QByteArray SitePdf(const SiteResult& site, const QString& title, Language language) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Zarno"));
        writer.setTitle(Text(language, QT_TRANSLATE_NOOP("zarno::SitePages", "Площадка %1")).arg(title));
        writer.setResolution(kDpi);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        SiteDocument doc(writer, painter, language);
        doc.Summary(site, title);
        doc.Traces(site);
        if (!painter.end())
            return {};
    }
    return bytes;
}

bool WriteSitePdf(const SiteResult& site, const QString& title, const QString& path, Language language) {
    const QByteArray pdf = SitePdf(site, title, language);
    return !pdf.isEmpty() && io::WriteWholeFile(path, pdf) == io::WholeFileResult::Written;
}

} // namespace zarno
