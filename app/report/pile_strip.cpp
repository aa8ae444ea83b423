#include "app/report/pile_strip.h"

#include "app/site/site_outputs.h"

#include <QFont>
#include <QPaintDevice>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

namespace zarno {

namespace {

using site::PileResult;

// Device units per millimetre of the painter's device.
double DotsPerMm(const QPainter& p) {
    const QPaintDevice* device = p.device();
    return (device ? device->logicalDpiY() : 96) / 25.4;
}

// A label's text, marked in this file's context, in the language of the drawing.
QString Text(Language language, const char* source) {
    return TextIn(language, "zarno::PileStrip", source);
}

QFont StripFont(double heightMm, double mm, bool bold = false) {
    QFont f(QStringLiteral("Liberation Sans"));
    f.setPixelSize(std::max(1, int(std::lround(heightMm * mm))));
    f.setBold(bold);
    return f;
}

QString Number(Language language, double v, int decimals) {
    const double scale = std::pow(10.0, decimals);
    const double r = std::round(v * scale) / scale;
    return NumberIn(language, r == 0.0 ? 0.0 : r, decimals);
}

// Where the axis should end for one pile: past what it shows, within its record.
double PileRange(const PileResult& p, std::optional<double> v) {
    if (p.stack.average.empty() || p.intervalS <= 0.0)
        return 0.0;
    const double recordMs = (double(p.stack.average.size()) - p.stack.blowIndex) * p.intervalS * 1000.0;
    const double recordEnd = v ? *v * recordMs / 2000.0 : recordMs;
    double wanted = 0.0;
    if (p.stack.toe.found)
        wanted = v ? *v * p.stack.toe.timeMs / 2000.0 : p.stack.toe.timeMs;
    if (v && p.designLengthM)
        wanted = std::max(wanted, *p.designLengthM);
    if (v && p.decidedLengthM)
        wanted = std::max(wanted, *p.decidedLengthM);
    return wanted > 0.0 ? std::min(recordEnd, wanted * 1.4) : recordEnd;
}

// The pile's name and what the survey found, in the label column.
void PaintLabel(QPainter& p, const QRectF& label, const PileResult& pile, double mm, Language language) {
    p.setFont(StripFont(3.0, mm, true));
    p.setPen(Qt::black);
    p.drawText(label.adjusted(0, 0, 0, -label.height() / 2), Qt::AlignLeft | Qt::AlignBottom, pile.pile);
    p.setFont(StripFont(2.5, mm));
    QStringList lines;
    if (const std::optional<double> length = pile.reportedLengthM())
        lines << (pile.decidedLengthM ? Text(language, QT_TRANSLATE_NOOP("zarno::PileStrip", "L = %1 м (решение)"))
                                      : Text(language, QT_TRANSLATE_NOOP("zarno::PileStrip", "L = %1 м")))
                     .arg(Number(language, *length, 2));
    else if (pile.consistent())
        lines << Text(language, QT_TRANSLATE_NOOP("zarno::PileStrip", "подошва не найдена"));
    if (pile.decidedClass != site::PileClass::None)
        lines << Text(language, QT_TRANSLATE_NOOP("zarno::PileStrip", "класс %1 (решение)"))
                     .arg(site::ClassName(pile.decidedClass));
    else if (pile.proposedClass != site::PileClass::None)
        lines << Text(language, QT_TRANSLATE_NOOP("zarno::PileStrip", "класс %1 (предложен)"))
                     .arg(site::ClassName(pile.proposedClass));
    lines << (pile.consistent()
                  ? Text(language, QT_TRANSLATE_NOOP("zarno::PileStrip", "ударов %1 из %2"))
                        .arg(pile.stack.used.size())
                        .arg(pile.blows)
                  : Text(language, QT_TRANSLATE_NOOP("zarno::PileStrip", "нет согласованных ударов (из %1)"))
                        .arg(pile.blows));
    p.drawText(label.adjusted(0, label.height() / 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, lines.join('\n'));
}

// The plot's geometry: where a time after the blow and a sample's value go.
struct Plot {
    QRectF box;
    double toX = 1.0; // axis units per ms after the blow
    double xMax = 1.0;
    double yScale = 1.0;
    double x(double ms) const { return box.left() + box.width() * (ms * toX) / xMax; }
    double y(double v) const { return std::clamp(box.center().y() - v * yScale, box.top(), box.bottom()); }
};

QPainterPath TracePath(const std::vector<double>& t, const PileResult& pile, const Plot& plot) {
    QPainterPath path;
    bool started = false;
    for (std::size_t s = std::size_t(std::max(0, pile.stack.blowIndex)); s < t.size(); ++s) {
        const double x = plot.x((double(s) - pile.stack.blowIndex) * pile.intervalS * 1000.0);
        if (x > plot.box.right())
            break;
        started ? path.lineTo(x, plot.y(t[s])) : path.moveTo(x, plot.y(t[s]));
        started = true;
    }
    return path;
}

// The blow fills the strip and is cut; the echoes after it are what the eye needs, so the scale is
// set by the largest of them on the average.
double EchoScale(const PileResult& pile, double halfHeight) {
    const std::vector<double>& t = pile.stack.average;
    const auto pastBlow =
        std::size_t(pile.stack.blowIndex) + std::size_t(std::lround(0.001 / pile.intervalS));
    double echo = 0.0;
    for (std::size_t s = pastBlow; s < t.size(); ++s)
        echo = std::max(echo, std::abs(t[s]));
    return halfHeight / std::clamp(echo * 1.3, 0.05, 4.0);
}

void PaintTraces(QPainter& p, const PileResult& pile, const Plot& plot, bool blows, double mm) {
    if (blows) {
        for (std::size_t k = 0; k < pile.stack.blows.size(); ++k) {
            const int blow = k < pile.stack.blowOf.size() ? pile.stack.blowOf[k] : -1;
            const bool used =
                std::find(pile.stack.used.begin(), pile.stack.used.end(), blow) != pile.stack.used.end();
            p.setPen(QPen(used ? QColor(185, 185, 185) : QColor(240, 170, 170), 0.15 * mm));
            p.drawPath(TracePath(pile.stack.blows[k], pile, plot));
        }
    }
    p.setPen(QPen(Qt::black, 0.25 * mm));
    p.drawPath(TracePath(pile.stack.average, pile, plot));
}

void PaintMarks(QPainter& p, const PileResult& pile, const Plot& plot, std::optional<double> v, double mm,
                Language language) {
    p.setFont(StripFont(2.3, mm));
    int marks = 0; // each label a line lower than the one before, so that close marks stay legible
    auto mark = [&](double x, const QColor& colour, Qt::PenStyle style, const QString& text) {
        if (x > plot.box.right())
            return;
        p.setPen(QPen(colour, 0.35 * mm, style));
        p.drawLine(QPointF(x, plot.box.top()), QPointF(x, plot.box.bottom()));
        p.setPen(colour);
        p.drawText(QPointF(x + 0.8 * mm, plot.box.top() + (2.6 + 2.8 * (marks++ % 3)) * mm), text);
    };
    const QString unit = v ? Text(language, QT_TRANSLATE_NOOP("zarno::PileStrip", "м"))
                           : Text(language, QT_TRANSLATE_NOOP("zarno::PileStrip", "мс"));
    for (const site::PileAnomaly& a : pile.anomalies)
        mark(plot.x(a.found.timeMs), QColor(220, 120, 0), Qt::DashLine,
             QStringLiteral("%1 %2 %3").arg(Number(language, a.found.timeMs * plot.toX, 1), unit, site::AnomalyKindText(language, a.found.kind)));
    if (pile.stack.toe.found)
        mark(plot.x(pile.stack.toe.timeMs), QColor(200, 0, 0), Qt::DashLine,
             Text(language, QT_TRANSLATE_NOOP("zarno::PileStrip", "подошва %1 %2"))
                 .arg(Number(language, pile.stack.toe.timeMs * plot.toX, 2), unit));
    if (v && pile.decidedLengthM)
        mark(plot.box.left() + plot.box.width() * *pile.decidedLengthM / plot.xMax, QColor(0, 90, 200),
             Qt::SolidLine,
             Text(language, QT_TRANSLATE_NOOP("zarno::PileStrip", "решение %1 м"))
                 .arg(Number(language, *pile.decidedLengthM, 2)));
}

// The axis under the plot: a tick every step, labelled, and its unit.
void PaintAxis(QPainter& p, const Plot& plot, bool metres, double mm, Language language) {
    const double xMax = plot.xMax;
    const double step = xMax > 40 ? 10.0 : xMax > 16 ? 5.0 : xMax > 6 ? 2.0 : 1.0;
    p.setPen(QPen(Qt::black, 0.15 * mm));
    p.setFont(StripFont(2.2, mm));
    const double bottom = plot.box.bottom();
    for (double x = 0.0; x <= xMax + 1e-9; x += step) {
        const double px = plot.box.left() + plot.box.width() * x / xMax;
        p.drawLine(QPointF(px, bottom), QPointF(px, bottom + 1.0 * mm));
        p.drawText(QPointF(px - 1.0 * mm, bottom + 3.8 * mm), QString::number(x));
    }
    p.drawText(QPointF(plot.box.right() - 6.0 * mm, bottom + 6.5 * mm),
               metres ? Text(language, QT_TRANSLATE_NOOP("zarno::PileStrip", "x, м"))
                      : Text(language, QT_TRANSLATE_NOOP("zarno::PileStrip", "t, мс")));
}

} // namespace

double SharedStripRange(std::span<const PileResult> piles, std::optional<double> velocity) {
    double most = 0.0;
    for (const PileResult& p : piles)
        most = std::max(most, PileRange(p, velocity));
    return most > 0.0 ? most : 1.0;
}

void PaintPileStrip(QPainter& p, const QRectF& area, const PileResult& pile, std::optional<double> velocity,
                    const PileStripOptions& options) {
    const double mm = DotsPerMm(p);
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const double labelW = options.labelMm * mm;
    PaintLabel(p, QRectF(area.left(), area.top(), labelW - 2.0 * mm, area.height()), pile, mm, options.language);
    Plot plot;
    plot.box =
        QRectF(area.left() + labelW, area.top() + 2.0 * mm, area.width() - labelW, area.height() - 9.0 * mm);
    plot.toX = velocity ? *velocity / 2000.0 : 1.0;
    plot.xMax = options.xMax > 0.0 ? options.xMax : SharedStripRange(std::span(&pile, 1), velocity);
    p.setPen(QPen(QColor(160, 160, 160), 0.15 * mm));
    p.drawRect(plot.box);
    p.drawLine(QPointF(plot.box.left(), plot.box.center().y()),
               QPointF(plot.box.right(), plot.box.center().y()));
    if (!pile.stack.average.empty() && pile.intervalS > 0.0) {
        plot.yScale = EchoScale(pile, plot.box.height() / 2);
        p.setClipRect(plot.box.adjusted(-0.5 * mm, -0.5 * mm, 0.5 * mm, 0.5 * mm), Qt::IntersectClip);
        PaintTraces(p, pile, plot, options.blows, mm);
        p.setClipping(false);
        PaintMarks(p, pile, plot, velocity, mm, options.language);
    }
    PaintAxis(p, plot, velocity.has_value(), mm, options.language);
    p.restore();
}

int PaintStackedPiles(QPainter& p, const QRectF& area, std::span<const PileResult> piles,
                      std::optional<double> velocity, double stripHeightMm, const PileStripOptions& options) {
    const double h = stripHeightMm * DotsPerMm(p);
    if (h <= 0.0)
        return 0;
    PileStripOptions shared = options;
    if (shared.xMax <= 0.0)
        shared.xMax = SharedStripRange(piles, velocity);
    int drawn = 0;
    for (const PileResult& pile : piles) {
        const double top = area.top() + drawn * h;
        if (top + h > area.bottom() + 1e-6)
            break;
        PaintPileStrip(p, QRectF(area.left(), top, area.width(), h), pile, velocity, shared);
        ++drawn;
    }
    return drawn;
}

} // namespace zarno
