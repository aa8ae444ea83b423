#pragma once
// The site window's table: one row per pile with its blows (used of all), its length at the site's
// speed, the design length, the deviation, the proposed class and the anomalies. Each column sorts
// by its value (SortRole), not by its text, so that 9.5 m comes before 10 m; the rows that need a
// look carry NeedsLookRole and their reasons as the tip.
//
// The length and the class are the engineer's to decide: they show the decision where there is one
// (and what was measured or proposed in the tip), and editing either cell stores the decision
// through the decision store before the table shows it. An empty cell takes the decision back.

#include "app/site/site_decisions.h"
#include "app/site/site_survey.h"

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>

#include <functional>

namespace zarno::site {

class PileTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The class before the anomalies: a long list of anomalies must not push the class out of sight.
    enum Column { Pile, Blows, Length, Design, Deviation, Class, Anomalies, ColumnCount };
    enum Role {
        SortRole = Qt::UserRole + 1,
        NeedsLookRole, // bool: the row is marked for a look
        DecidedRole,   // bool: the cell shows the engineer's decision, not a measurement
    };

    explicit PileTableModel(QObject* parent = nullptr);

    using DecisionStore = std::function<bool(const QString& pile, const PileDecision& decision, QString* error)>;

    // The piles shown; the rows are made again.
    void setSite(const SiteResult& site);
    const SiteResult& site() const { return m_site; }
    const PileResult* pileAt(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    // Stores a decision on the named pile and shows it. False when no such pile is shown, or when
    // the store refused it (decisionRefused is sent with its reason).
    bool storeDecision(const QString& pile, const PileDecision& decision);
    // Without a store the decision cells are not editable.
    void setDecisionStore(DecisionStore store) { m_store = std::move(store); }

signals:
    // A decision was stored and is shown.
    void decisionStored(const QString& pile, const zarno::site::PileDecision& decision);
    // A decision could not be taken (the text is no length or class, or the store refused it).
    void decisionRefused(const QString& reason);

private:
    std::optional<PileDecision> editedDecision(const PileResult& pile, int column, const QString& text) const;
    QVariant tip(const PileResult& pile, int column) const;

    QVariant display(const PileResult& pile, int column) const;
    QVariant sortValue(const PileResult& pile, int column) const;

    SiteResult m_site;
    DecisionStore m_store;
};

// The table's order: each column by its SortRole value; pile names as a person reads them ("P2"
// before "P10").
class PileSortModel : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit PileSortModel(QObject* parent = nullptr);

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
};

// Pile names as a person orders them: "P2" before "P10", "p3" beside "P3".
bool NameBefore(const QString& a, const QString& b);

} // namespace zarno::site
