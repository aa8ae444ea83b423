#pragma once
// For window tests of the English: every text a window shows (titles, labels, buttons, group boxes,
// combo box items, tabs, menus and their actions, tool tips and status tips, item views' headers
// and cells) that has Cyrillic in it, as "where: text". Line edits' contents are left out: they
// hold the user's paths and names.

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QStringList>
#include <QTabBar>
#include <QWidget>

#include <set>

namespace zarno::testing {

class ScreenTexts {
public:
    // Walks `root`, its children and everything their menus and actions hold.
    void Walk(QWidget* root) {
        Widget(root);
        for (QWidget* child : root->findChildren<QWidget*>())
            Widget(child);
    }
    const QStringList& cyrillic() const { return m_found; }
    int seen() const { return m_seen; }

private:
    void Text(const QObject* where, const char* what, const QString& text) {
        if (text.isEmpty())
            return;
        ++m_seen;
        static const QRegularExpression kCyrillic(QStringLiteral("[\\x{0400}-\\x{04FF}]"));
        if (text.contains(kCyrillic))
            m_found << QStringLiteral("%1 %2 %3: %4")
                           .arg(QString::fromLatin1(where->metaObject()->className()), where->objectName(),
                                QString::fromLatin1(what), text);
    }

    void Widget(QWidget* w) {
        Text(w, "window title", w->windowTitle());
        Text(w, "tool tip", w->toolTip());
        Text(w, "status tip", w->statusTip());
        Text(w, "what's this", w->whatsThis());
        if (auto* label = qobject_cast<QLabel*>(w))
            Text(w, "label", label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(w))
            Text(w, "button", button->text());
        if (auto* group = qobject_cast<QGroupBox*>(w))
            Text(w, "group", group->title());
        if (auto* edit = qobject_cast<QLineEdit*>(w))
            Text(w, "placeholder", edit->placeholderText());
        if (auto* combo = qobject_cast<QComboBox*>(w))
            for (int i = 0; i < combo->count(); ++i)
                Text(w, "item", combo->itemText(i));
        if (auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i) {
                Text(w, "tab", tabs->tabText(i));
                Text(w, "tab tip", tabs->tabToolTip(i));
            }
        if (auto* menu = qobject_cast<QMenu*>(w))
            Text(w, "menu", menu->title());
        if (auto* view = qobject_cast<QAbstractItemView*>(w))
            Model(view, view->model());
        for (QAction* action : w->actions())
            Action(action);
    }

    void Action(QAction* action) {
        if (!m_actions.insert(action).second)
            return;
        Text(action, "action", action->text());
        Text(action, "action tip", action->toolTip());
        Text(action, "action status tip", action->statusTip());
        if (QMenu* menu = action->menu()) {
            Widget(menu);
        }
    }

    void Model(const QObject* where, const QAbstractItemModel* model) {
        if (!model)
            return;
        for (int c = 0; c < model->columnCount(); ++c)
            Text(where, "column", model->headerData(c, Qt::Horizontal).toString());
        for (int r = 0; r < std::min(model->rowCount(), 200); ++r) {
            for (int c = 0; c < model->columnCount(); ++c) {
                const QModelIndex index = model->index(r, c);
                Text(where, "cell", model->data(index, Qt::DisplayRole).toString());
                Text(where, "cell tip", model->data(index, Qt::ToolTipRole).toString());
            }
        }
    }

    QStringList m_found;
    int m_seen = 0;
    std::set<const QAction*> m_actions;
};

} // namespace zarno::testing
