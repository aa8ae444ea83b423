#include "app/report/site_pages.h"

#include "app/io/whole_file.h"
#include "app/site/site_outputs.h"

#include <QBuffer>
#include <QFont>
#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
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

QFont PageFont(double heightMm, bool bold = false) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(int(std::lround(Px(heightMm))));
    f.setBold(bold);
    return f;
}

// The drawing of one document: the painter, the page's area and where the next line goes.
class SiteDocument {
public:
    SiteDocument(QPdfWriter& writer, QPainter& painter) : m_writer(writer), m_p(painter) {
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
    void Strip(const PileResult& pile, const site::SiteVelocity& v, double xMax, QRectF area);

    QPdfWriter& m_writer;
    QPainter& m_p;
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
const Column kColumns[] = {{0, "Pile"},        {28, "Blows"},         {42, "Toe, ms"},   {58, "Length, m"},
                           {76, "Design, m"},  {94, "Dev., %"},       {110, "Class*"},   {124, "Anomalies; rejected blows"}};

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
        m_p.drawText(QPointF(kLeft + Px(c.atMm), m_y + Px(3.2)), QString::fromLatin1(c.title));
    m_y += Px(4.5);
    m_p.setPen(QPen(Qt::black, Px(0.2)));
    m_p.drawLine(QPointF(kLeft, m_y - Px(0.8)), QPointF(m_width - kLeft, m_y - Px(0.8)));
    m_fresh = false;
}

void SiteDocument::TableRow(const PileResult& p, bool shade) {
    const double h = Px(4.4);
    if (shade)
        m_p.fillRect(QRectF(kLeft, m_y, m_width - 2 * kLeft, h), QColor(238, 238, 238));
    QString tail = site::AnomaliesText(p, false);
    if (!p.stack.rejected.empty())
        tail += (tail.isEmpty() ? QString() : QStringLiteral("; ")) + QStringLiteral("rejected ") + site::RejectedText(p);
    if (!p.problems.isEmpty())
        tail += (tail.isEmpty() ? QString() : QStringLiteral("; ")) + p.problems.join(QStringLiteral("; "));
    auto number = [](const std::optional<double>& v, int decimals) {
        return v ? QString::number(site::RoundedForText(*v, decimals), 'f', decimals) : QStringLiteral("–");
    };
    const QString cls = !p.consistent() ? QStringLiteral("no blow")
                        : site::ClassName(p.proposedClass).isEmpty() ? QStringLiteral("–")
                                                                      : site::ClassName(p.proposedClass);
    const QString cells[] = {p.pile,
                             QStringLiteral("%1/%2").arg(p.stack.used.size()).arg(p.blows),
                             p.stack.toe.found ? QString::number(p.stack.toe.timeMs, 'f', 3) : QStringLiteral("–"),
                             number(p.lengthM, 2),
                             number(p.designLengthM, 2),
                             number(p.deviationPct, 1),
                             cls,
                             tail};
    m_p.setFont(PageFont(2.8));
    const QFontMetricsF metrics(m_p.font());
    for (std::size_t i = 0; i < std::size(kColumns); ++i) {
        const double right = i + 1 < std::size(kColumns) ? kLeft + Px(kColumns[i + 1].atMm) - Px(1.5) : m_width - kLeft;
        const double left = kLeft + Px(kColumns[i].atMm);
        m_p.drawText(QPointF(left, m_y + Px(3.2)), metrics.elidedText(cells[i], Qt::ElideRight, right - left));
    }
    m_y += h;
}

void SiteDocument::Summary(const SiteResult& site, const QString& title) {
    Line(QStringLiteral("Site %1").arg(title), 5.0, true);
    m_y += Px(2);
    Line(site::VelocityText(site.velocity), 3.4, true);
    for (const site::ExcludedSpeed& e : site.velocity.calibration.excluded)
        Line(QStringLiteral("Left out of the calibration: %1, %2 m/s (%3% from the mean)")
                 .arg(e.pile)
                 .arg(e.velocity, 0, 'f', 0)
                 .arg(e.deviationPct, 0, 'f', 1));
    for (const QString& w : site.velocity.calibration.warnings)
        Line(QStringLiteral("Warning: %1").arg(w));
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
    Line(QStringLiteral("* The class is a proposal from the averaged trace; the engineer decides."), 2.8);
    if (!site.messages.isEmpty()) {
        m_y += Px(3);
        Line(QStringLiteral("Left out of the site"), 3.2, true);
        for (const QString& m : site.messages)
            Line(m, 2.8);
    }
}

// The x range every strip shares: from the blow to past the deepest toe, design length or record.
double SharedXMax(const SiteResult& site) {
    const std::optional<double> v = site.velocity.value;
    double most = 0.0;
    for (const PileResult& p : site.piles) {
        if (p.stack.average.empty())
            continue;
        const double recordMs = (double(p.stack.average.size()) - p.stack.blowIndex) * p.intervalS * 1000.0;
        const double recordEnd = v ? *v * recordMs / 2000.0 : recordMs;
        double wanted = 0.0;
        if (p.stack.toe.found)
            wanted = v ? *v * p.stack.toe.timeMs / 2000.0 : p.stack.toe.timeMs;
        if (v && p.designLengthM)
            wanted = std::max(wanted, *p.designLengthM);
        most = std::max(most, wanted > 0.0 ? std::min(recordEnd, wanted * 1.4) : recordEnd);
    }
    return most > 0.0 ? most : 1.0;
}

void SiteDocument::Strip(const PileResult& pile, const site::SiteVelocity& v, double xMax, QRectF area) {
    const QRectF label(area.left(), area.top(), Px(32), area.height());
    const QRectF plot(area.left() + Px(34), area.top() + Px(2), area.width() - Px(34), area.height() - Px(9));
    m_p.setFont(PageFont(3.0, true));
    m_p.setPen(Qt::black);
    m_p.drawText(label.adjusted(0, 0, 0, -label.height() / 2), Qt::AlignLeft | Qt::AlignBottom, pile.pile);
    m_p.setFont(PageFont(2.5));
    QString info = pile.lengthM ? QStringLiteral("L = %1 m").arg(*pile.lengthM, 0, 'f', 2) : QStringLiteral("no toe");
    const QString cls = site::ClassName(pile.proposedClass);
    if (!cls.isEmpty())
        info += QStringLiteral("\nclass %1 (proposed)").arg(cls);
    info += QStringLiteral("\n%1 of %2 blows").arg(pile.stack.used.size()).arg(pile.blows);
    m_p.drawText(label.adjusted(0, label.height() / 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, info);

    m_p.setPen(QPen(QColor(160, 160, 160), Px(0.15)));
    m_p.drawRect(plot);
    const double mid = plot.center().y();
    m_p.drawLine(QPointF(plot.left(), mid), QPointF(plot.right(), mid));
    const std::vector<double>& t = pile.stack.average;
    const double toX = v.value ? *v.value / 2000.0 : 1.0; // metres (or ms) per ms after the blow
    auto xOf = [&](double ms) { return plot.left() + plot.width() * (ms * toX) / xMax; };
    // The blow fills the strip and is cut; the echoes after it are what the eye needs, so the scale
    // is set by the largest of them.
    const auto pastBlow = std::size_t(pile.stack.blowIndex) + std::size_t(std::lround(0.001 / pile.intervalS));
    double echo = 0.0;
    for (std::size_t s = pastBlow; s < t.size(); ++s)
        echo = std::max(echo, std::abs(t[s]));
    const double yScale = (plot.height() / 2) / std::clamp(echo * 1.3, 0.05, 4.0);
    QPainterPath path;
    bool started = false;
    for (std::size_t s = std::size_t(pile.stack.blowIndex); s < t.size(); ++s) {
        const double ms = (double(s) - pile.stack.blowIndex) * pile.intervalS * 1000.0;
        const double x = xOf(ms);
        if (x > plot.right())
            break;
        const double y = std::clamp(mid - t[s] * yScale, plot.top(), plot.bottom());
        started ? path.lineTo(x, y) : path.moveTo(x, y);
        started = true;
    }
    m_p.setPen(QPen(Qt::black, Px(0.25)));
    m_p.drawPath(path);

    m_p.setFont(PageFont(2.3));
    int marks = 0; // each label a line lower than the one before, so that close marks stay legible
    auto mark = [&](double ms, const QColor& colour, const QString& text) {
        const double x = xOf(ms);
        if (x > plot.right())
            return;
        m_p.setPen(QPen(colour, Px(0.35), Qt::DashLine));
        m_p.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
        m_p.setPen(colour);
        m_p.drawText(QPointF(x + Px(0.8), plot.top() + Px(2.6 + 2.8 * (marks++ % 3))), text);
    };
    const QString unit = v.value ? QStringLiteral(" m") : QStringLiteral(" ms");
    for (const site::PileAnomaly& a : pile.anomalies)
        mark(a.found.timeMs, QColor(220, 120, 0),
             QString::number(a.found.timeMs * toX, 'f', 1) + unit + ' ' + a.found.kind);
    if (pile.stack.toe.found)
        mark(pile.stack.toe.timeMs, QColor(200, 0, 0),
             QStringLiteral("toe ") + QString::number(pile.stack.toe.timeMs * toX, 'f', 2) + unit);

    // The x axis under the strip: a tick every step, labelled.
    const double step = xMax > 40 ? 10.0 : xMax > 16 ? 5.0 : xMax > 6 ? 2.0 : 1.0;
    m_p.setPen(QPen(Qt::black, Px(0.15)));
    m_p.setFont(PageFont(2.2));
    for (double x = 0.0; x <= xMax + 1e-9; x += step) {
        const double px = plot.left() + plot.width() * x / xMax;
        m_p.drawLine(QPointF(px, plot.bottom()), QPointF(px, plot.bottom() + Px(1)));
        m_p.drawText(QPointF(px - Px(1), plot.bottom() + Px(3.8)), QString::number(x));
    }
    m_p.drawText(QPointF(plot.right() - Px(6), plot.bottom() + Px(6.5)), v.value ? QStringLiteral("x, m") : QStringLiteral("t, ms"));
}

void SiteDocument::Traces(const SiteResult& site) {
    const double xMax = SharedXMax(site);
    const double stripH = (kBottom - Px(25)) / kPilesPerTracePage;
    int onPage = kPilesPerTracePage;
    for (const PileResult& p : site.piles) {
        if (p.stack.average.empty())
            continue;
        if (onPage == kPilesPerTracePage) {
            NewPage();
            Line(QStringLiteral("Averaged traces, aligned at the blow"), 4.0, true);
            Line(site::VelocityText(site.velocity), 2.8);
            m_y += Px(2);
            onPage = 0;
        }
        Strip(p, site.velocity, xMax, QRectF(kLeft, m_y, m_width - 2 * kLeft, stripH));
        m_y += stripH;
        ++onPage;
        m_fresh = false;
    }
}

} // namespace

QByteArray SitePdf(const SiteResult& site, const QString& title) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Zarno"));
        writer.setTitle(QStringLiteral("Site %1").arg(title));
        writer.setResolution(kDpi);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        QPainter painter;
        if (!painter.begin(&writer))
            return {};
        SiteDocument doc(writer, painter);
        doc.Summary(site, title);
        doc.Traces(site);
        if (!painter.end())
            return {};
    }
    return bytes;
}

bool WriteSitePdf(const SiteResult& site, const QString& title, const QString& path) {
    const QByteArray pdf = SitePdf(site, title);
    return !pdf.isEmpty() && io::WriteWholeFile(path, pdf) == io::WholeFileResult::Written;
}

} // namespace zarno
