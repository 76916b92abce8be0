// Window translation over the Qt object tree.
#include "gui/TranslateComponents.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>

using kerbon::ComponentKind;
using kerbon::ComponentText;

ComponentKind componentKind(const QObject* o)
{
    if (auto* a = qobject_cast<const QAction*>(o))
        return a->isSeparator() ? ComponentKind::Other : ComponentKind::MenuItem;
    auto* w = qobject_cast<const QWidget*>(o);
    if (!w)
        return ComponentKind::Other;
    if (qobject_cast<const QLabel*>(w))
        return ComponentKind::Label;
    if (qobject_cast<const QRadioButton*>(w))
        return ComponentKind::RadioButton;
    if (qobject_cast<const QFileDialog*>(w))
        return ComponentKind::FileDialog;
    if (w->isWindow())
        return ComponentKind::Form;
    if (qobject_cast<const QCheckBox*>(w))
        return ComponentKind::CheckBox;
    if (qobject_cast<const QPushButton*>(w))
        return ComponentKind::Button;
    if (qobject_cast<const QGroupBox*>(w))
        return ComponentKind::GroupBox;
    if (qobject_cast<const QAbstractSpinBox*>(w))
        return ComponentKind::SpinEdit;
    if (auto* t = qobject_cast<const QToolButton*>(w))  // an action's button shows its texts
        return t->defaultAction() ? ComponentKind::Other : ComponentKind::ToolButton;
    if (qobject_cast<const QComboBox*>(w))
        return ComponentKind::ComboBox;
    if (qobject_cast<const QTableWidget*>(w))
        return ComponentKind::StringGrid;
    if (qobject_cast<const QTreeWidget*>(w))
        return ComponentKind::ListView;
    if (qobject_cast<const QPlainTextEdit*>(w) || qobject_cast<const QTextEdit*>(w))
        return ComponentKind::Memo;
    if (qobject_cast<const QLineEdit*>(w)) {
        const QObject* p = w->parent();
        const bool inner = qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QComboBox*>(p);
        return inner ? ComponentKind::Other : ComponentKind::Edit;
    }
    return ComponentKind::Other;
}

namespace {

// The tool tip Qt shows for an action with this caption and no tool tip of its own.
QString defaultTip(const QString& text)
{
    QAction probe(text);
    return probe.toolTip();
}

QString translateLines(const QString& text, const TranslateFn& tr)
{
    QStringList lines = text.split('\n');
    for (QString& l : lines)
        l = tr(l);
    return lines.join('\n');
}

QString captionOf(QObject* o)
{
    if (auto* a = qobject_cast<QAction*>(o))
        return a->text();
    if (auto* l = qobject_cast<QLabel*>(o))
        return l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(o))
        return b->text();
    if (auto* g = qobject_cast<QGroupBox*>(o))
        return g->title();
    if (auto* w = qobject_cast<QWidget*>(o))
        return w->windowTitle();
    return {};
}

void setCaption(QObject* o, const QString& s)
{
    if (auto* a = qobject_cast<QAction*>(o))
        a->setText(s);
    else if (auto* l = qobject_cast<QLabel*>(o))
        l->setText(s);
    else if (auto* b = qobject_cast<QAbstractButton*>(o))
        b->setText(s);
    else if (auto* g = qobject_cast<QGroupBox*>(o))
        g->setTitle(s);
    else if (auto* w = qobject_cast<QWidget*>(o))
        w->setWindowTitle(s);
}

void translateOne(QObject* o, const TranslateFn& tr)
{
    // An action without a hint of its own shows its caption as hint: that follows the
    // caption by itself and must not be looked up a second time.
    auto* action = qobject_cast<QAction*>(o);
    const bool ownTip = !action || action->toolTip() != defaultTip(action->text());
    for (ComponentText t : kerbon::componentTexts(componentKind(o))) {
        switch (t) {
        case ComponentText::Caption:
            setCaption(o, tr(captionOf(o)));
            break;
        case ComponentText::Hint:
            if (action) {
                if (ownTip)
                    action->setToolTip(tr(action->toolTip()));
            } else if (auto* w = qobject_cast<QWidget*>(o)) {
                w->setToolTip(tr(w->toolTip()));
            }
            break;
        case ComponentText::Items:
            if (auto* cb = qobject_cast<QComboBox*>(o)) {
                const QSignalBlocker block(cb);
                const int cur = cb->currentIndex();
                for (int i = 0; i < cb->count(); ++i)
                    cb->setItemText(i, tr(cb->itemText(i)));
                cb->setCurrentIndex(cur);
            }
            break;
        case ComponentText::TitleRow:
            if (auto* tw = qobject_cast<QTableWidget*>(o))
                for (int c = 0; c < tw->columnCount(); ++c)
                    if (QTableWidgetItem* h = tw->horizontalHeaderItem(c))
                        h->setText(tr(h->text()));
            break;
        case ComponentText::ColumnCaptions:
            if (auto* tree = qobject_cast<QTreeWidget*>(o))
                if (QTreeWidgetItem* h = tree->headerItem())
                    for (int c = 0; c < h->columnCount(); ++c)
                        h->setText(c, tr(h->text(c)));
            break;
        case ComponentText::Filter:
            if (auto* fd = qobject_cast<QFileDialog*>(o)) {
                QStringList filters = fd->nameFilters();
                for (QString& f : filters)
                    f = tr(f);
                fd->setNameFilters(filters);
            }
            break;
        case ComponentText::Lines:
            if (auto* pt = qobject_cast<QPlainTextEdit*>(o)) {
                if (!pt->toPlainText().isEmpty())
                    pt->setPlainText(translateLines(pt->toPlainText(), tr));
            } else if (auto* te = qobject_cast<QTextEdit*>(o)) {
                if (!te->toPlainText().isEmpty())
                    te->setPlainText(translateLines(te->toPlainText(), tr));
            }
            break;
        case ComponentText::Text:
            if (auto* le = qobject_cast<QLineEdit*>(o))
                le->setText(tr(le->text()));
            break;
        }
    }
}

QObjectList ownedBy(QObject* o)
{
    if (o)
        return o->children();
    QObjectList all;  // the application owns the windows that have no parent
    for (QWidget* w : QApplication::topLevelWidgets())
        if (!w->parentWidget())
            all << w;
    return all;
}

}  // namespace

void TranslateComponents(QObject* root, const TranslateFn& tr)
{
    if (auto* w = qobject_cast<QWidget*>(root); w && w->isWindow())
        w->setWindowTitle(tr(w->windowTitle()));
    kerbon::walkOwnedComponents(root, ownedBy, [&](QObject* o) { translateOne(o, tr); });
}
