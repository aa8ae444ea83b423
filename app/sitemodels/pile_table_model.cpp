#include "app/sitemodels/pile_table_model.h"

#include "app/i18n/translation.h"
#include "app/site/site_outputs.h"
#include "app/site/site_table.h"
#include "app/sitemodels/pile_concerns.h"

#include <algorithm>
#include <cmath>

namespace zarno::site {

namespace {

QString Number(const std::optional<double>& v, int decimals) {
    return v ? NumberIn(CurrentLanguage(), RoundedForText(*v, decimals), decimals) : QStringLiteral("–");
}

// No value: an empty QVariant, which the sort puts last in either direction.
QVariant SortNumber(const std::optional<double>& v) {
    return v ? QVariant(*v) : QVariant();
}

} // namespace

bool NameBefore(const QString& a, const QString& b) {
    // Runs of digits compare as numbers (leading zeros aside), the rest without case; the collator's
    // numeric mode is not there in every locale the program runs in.
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            const qsizetype i0 = i, j0 = j;
            while (i < a.size() && a[i].isDigit())
                ++i;
            while (j < b.size() && b[j].isDigit())
                ++j;
            QStringView x = QStringView(a).mid(i0, i - i0), y = QStringView(b).mid(j0, j - j0);
            while (x.size() > 1 && x.front() == u'0')
                x = x.mid(1);
            while (y.size() > 1 && y.front() == u'0')
                y = y.mid(1);
            if (x.size() != y.size())
                return x.size() < y.size();
            if (const int c = x.compare(y); c != 0)
                return c < 0;
            continue;
        }
        if (const int c = QString::compare(a.mid(i, 1), b.mid(j, 1), Qt::CaseInsensitive); c != 0)
            return c < 0;
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

PileTableModel::PileTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void PileTableModel::setSite(const SiteResult& site) {
    beginResetModel();
    m_site = site;
    endResetModel();
}

const PileResult* PileTableModel::pileAt(int row) const {
    return row >= 0 && std::size_t(row) < m_site.piles.size() ? &m_site.piles[std::size_t(row)] : nullptr;
}

int PileTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_site.piles.size());
}

int PileTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PileTableModel::data(const QModelIndex& index, int role) const {
    const PileResult* pile = index.isValid() ? pileAt(index.row()) : nullptr;
    if (!pile || index.column() < 0 || index.column() >= ColumnCount)
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return display(*pile, index.column());
    case SortRole:
        return sortValue(*pile, index.column());
    case NeedsLookRole:
        return !PileConcerns(*pile).isEmpty();
    case Qt::EditRole:
        return index.column() == Length  ? (pile->decidedLengthM ? display(*pile, Length) : QVariant(QString()))
               : index.column() == Class ? QVariant(ClassName(pile->decidedClass))
                                         : display(*pile, index.column());
    case Qt::ToolTipRole:
        return tip(*pile, index.column());
    case DecidedRole:
        return (index.column() == Length && pile->decidedLengthM) ||
               (index.column() == Class && pile->decidedClass != PileClass::None);
    case Qt::TextAlignmentRole:
        return index.column() == Pile || index.column() == Anomalies ? QVariant()
                                                                      : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant PileTableModel::display(const PileResult& pile, int column) const {
    switch (column) {
    case Pile:
        return pile.pile;
    case Blows:
        return QStringLiteral("%1/%2").arg(pile.stack.used.size()).arg(pile.blows);
    case Length:
        return Number(pile.reportedLengthM(), 2);
    case Design:
        return Number(pile.designLengthM, 2);
    case Deviation:
        return Number(pile.reportedDeviationPct(), 1);
    case Anomalies:
        return AnomaliesTextIn(CurrentLanguage(), pile);
    case Class:
        return ClassName(pile.reportedClass());
    default:
        return {};
    }
}

QVariant PileTableModel::tip(const PileResult& pile, int column) const {
    QStringList lines = PileConcerns(pile);
    if (column == Length && pile.decidedLengthM)
        lines.prepend(tr("Длина задана инженером; измерено: %1 м").arg(Number(pile.lengthM, 2)));
    if (column == Class && pile.decidedClass != PileClass::None)
        lines.prepend(tr("Класс задан инженером; предложен: %1").arg(ClassName(pile.proposedClass)));
    return lines.isEmpty() ? QVariant() : QVariant(lines.join('\n'));
}

Qt::ItemFlags PileTableModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (m_store && index.isValid() && (index.column() == Length || index.column() == Class))
        f |= Qt::ItemIsEditable;
    return f;
}

std::optional<PileDecision> PileTableModel::editedDecision(const PileResult& pile, int column,
                                                           const QString& text) const {
    PileDecision decision{pile.decidedLengthM, pile.decidedClass};
    const QString t = text.trimmed();
    if (column == Length) {
        bool bad = false;
        decision.lengthM = ParseSiteNumber(t, &bad);
        if (bad)
            return std::nullopt;
    } else {
        const auto cls = ParseClassName(t);
        if (!cls)
            return std::nullopt;
        decision.cls = *cls;
    }
    return decision;
}

bool PileTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const PileResult& pile = m_site.piles[std::size_t(index.row())];
    const auto decision = editedDecision(pile, index.column(), value.toString());
    if (!decision) {
        emit decisionRefused(index.column() == Length
                                 ? tr("Длина задаётся числом метров больше нуля: «%1»").arg(value.toString())
                                 : tr("Класс задаётся как I, II, III или IV: «%1»").arg(value.toString()));
        return false;
    }
    return storeDecision(pile.pile, *decision);
}

bool PileTableModel::storeDecision(const QString& name, const PileDecision& decision) {
    const auto it = std::find_if(m_site.piles.begin(), m_site.piles.end(),
                                 [&name](const PileResult& p) { return p.pile == name; });
    if (it == m_site.piles.end() || !m_store)
        return false;
    if (decision.lengthM == it->decidedLengthM && decision.cls == it->decidedClass)
        return true;
    QString error;
    if (!m_store(name, decision, &error)) {
        emit decisionRefused(error);
        return false;
    }
    it->decidedLengthM = decision.lengthM;
    it->decidedClass = decision.cls;
    const int row = int(it - m_site.piles.begin());
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    emit decisionStored(name, decision);
    return true;
}

QVariant PileTableModel::sortValue(const PileResult& pile, int column) const {
    switch (column) {
    case Pile:
        return pile.pile;
    case Blows:
        // Fewer blows used sorts first: those are the piles to look at.
        return double(pile.stack.used.size()) + double(pile.blows) * 1e-3;
    case Length:
        return SortNumber(pile.reportedLengthM());
    case Design:
        return SortNumber(pile.designLengthM);
    case Deviation:
        if (const std::optional<double> deviation = pile.reportedDeviationPct())
            return SortNumber(std::abs(*deviation));
        return SortNumber(std::nullopt);
    case Anomalies:
        return double(pile.anomalies.size());
    case Class:
        return pile.reportedClass() == PileClass::None ? QVariant() : QVariant(int(pile.reportedClass()));
    default:
        return {};
    }
}

QVariant PileTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Pile:
        return tr("Свая");
    case Blows:
        return tr("Удары");
    case Length:
        return tr("Длина, м");
    case Design:
        return tr("Проект, м");
    case Deviation:
        return tr("Отклонение, %");
    case Anomalies:
        return tr("Аномалии");
    case Class:
        return tr("Класс");
    default:
        return {};
    }
}

PileSortModel::PileSortModel(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(PileTableModel::SortRole);
}

bool PileSortModel::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const QVariant a = left.data(sortRole());
    const QVariant b = right.data(sortRole());
    // A pile without the value goes to the end whichever way the column is sorted: the descending
    // sort takes "greater" for "before".
    if (!a.isValid() || !b.isValid())
        return a.isValid() != b.isValid() && !a.isValid() == (sortOrder() == Qt::DescendingOrder);
    if (a.typeId() == QMetaType::QString && b.typeId() == QMetaType::QString)
        return NameBefore(a.toString(), b.toString());
    return QVariant::compare(a, b) == QPartialOrdering::Less;
}

} // namespace zarno::site
