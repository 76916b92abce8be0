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
#include <QQueue>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>
#include <QTreeWidget>

namespace {

// The text Qt shows as tool tip of an action without one of its own.
QString defaultTip(const QString& text)
{
    QString s = text;
    s.remove(QRegularExpression("&(?!&)"));
    return s.replace("&&", "&");
}

void translateAction(QAction* a, const TranslateFn& tr)
{
    if (a->isSeparator())
        return;
    const QString text = a->text(), tip = a->toolTip();
    const bool ownTip = tip != defaultTip(text);
    a->setText(tr(text));
    if (ownTip)
        a->setToolTip(tr(tip));
}

QString translateLines(const QString& text, const TranslateFn& tr)
{
    QStringList lines = text.split('\n');
    for (QString& l : lines)
        l = tr(l);
    return lines.join('\n');
}

void translateOne(QObject* o, const TranslateFn& tr)
{
    if (auto* a = qobject_cast<QAction*>(o)) {
        translateAction(a, tr);
        return;
    }
    auto* w = qobject_cast<QWidget*>(o);
    if (!w)
        return;
    if (w->isWindow())
        w->setWindowTitle(tr(w->windowTitle()));
    if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(tr(l->text()));
    } else if (auto* r = qobject_cast<QRadioButton*>(w)) {
        r->setText(tr(r->text()));
    } else if (auto* c = qobject_cast<QCheckBox*>(w)) {
        c->setToolTip(tr(c->toolTip()));
        c->setText(tr(c->text()));
    } else if (auto* b = qobject_cast<QPushButton*>(w)) {
        b->setText(tr(b->text()));
        b->setToolTip(tr(b->toolTip()));
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        g->setTitle(tr(g->title()));
        g->setToolTip(tr(g->toolTip()));
    } else if (auto* s = qobject_cast<QAbstractSpinBox*>(w)) {
        s->setToolTip(tr(s->toolTip()));
    } else if (auto* t = qobject_cast<QToolButton*>(w)) {
        if (!t->defaultAction())  // an action's button shows the action's texts
            t->setToolTip(tr(t->toolTip()));
    } else if (auto* cb = qobject_cast<QComboBox*>(w)) {
        const int cur = cb->currentIndex();
        const QSignalBlocker block(cb);
        for (int i = 0; i < cb->count(); ++i)
            cb->setItemText(i, tr(cb->itemText(i)));
        cb->setCurrentIndex(cur);
    } else if (auto* tw = qobject_cast<QTableWidget*>(w)) {
        for (int c = 0; c < tw->columnCount(); ++c)
            if (QTableWidgetItem* h = tw->horizontalHeaderItem(c))
                h->setText(tr(h->text()));
    } else if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
        if (QTreeWidgetItem* h = tree->headerItem())
            for (int c = 0; c < h->columnCount(); ++c)
                h->setText(c, tr(h->text(c)));
    } else if (auto* fd = qobject_cast<QFileDialog*>(w)) {
        QStringList filters = fd->nameFilters();
        for (QString& f : filters)
            f = tr(f);
        fd->setNameFilters(filters);
    } else if (auto* pt = qobject_cast<QPlainTextEdit*>(w)) {
        if (!pt->toPlainText().isEmpty())
            pt->setPlainText(translateLines(pt->toPlainText(), tr));
    } else if (auto* te = qobject_cast<QTextEdit*>(w)) {
        if (!te->toPlainText().isEmpty())
            te->setPlainText(translateLines(te->toPlainText(), tr));
    } else if (auto* le = qobject_cast<QLineEdit*>(w)) {
        QObject* p = le->parent();
        const bool inner = qobject_cast<QAbstractSpinBox*>(p) || qobject_cast<QComboBox*>(p);
        if (!inner)
            le->setText(tr(le->text()));
    }
}

QObjectList ownedBy(QObject* o)
{
    if (o)
        return o->children();
    QObjectList all;
    for (QWidget* w : QApplication::topLevelWidgets())
        all << w;
    return all;
}

}  // namespace

void TranslateComponents(QObject* root, const TranslateFn& tr)
{
    QSet<QObject*> done;
    if (auto* w = qobject_cast<QWidget*>(root); w && w->isWindow()) {
        translateOne(w, tr);  // a window root: its caption first
        done.insert(w);
    }
    QQueue<QObject*> queue;
    queue.enqueue(root);
    while (!queue.isEmpty()) {
        QObject* o = queue.dequeue();
        const QObjectList owned = ownedBy(o);
        for (auto it = owned.crbegin(); it != owned.crend(); ++it) {
            QObject* c = *it;
            if (done.contains(c))
                continue;
            done.insert(c);
            translateOne(c, tr);
            queue.enqueue(c);
        }
    }
}
