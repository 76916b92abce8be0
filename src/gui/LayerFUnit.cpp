// The layer dialog.
#include "gui/LayerFUnit.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

#include "styles/layers.h"
#include "view/tables.h"

using namespace kerbon;

TLayerForm::TLayerForm(QWidget* parent) : QDialog(parent)
{
    setObjectName("LayerForm");
    setWindowTitle(QString::fromUtf8("Ebenen"));
    auto* row = new QHBoxLayout(this);
    ListView1 = new QTreeWidget(this);
    ListView1->setObjectName("ListView1");
    ListView1->setRootIsDecorated(false);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Farbe"),
                                QStringLiteral("Sichtbar"), QStringLiteral("Gesperrt"),
                                QStringLiteral("Linienstil"), QStringLiteral("Linienbreite")});
    ListView1->setMinimumSize(560, 300);
    row->addWidget(ListView1, 1);

    auto* side = new QGridLayout;
    row->addLayout(side);
    auto button = [&](QPushButton*& b, const char* name, const char* caption) {
        b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        return b;
    };
    auto box = [&](QComboBox*& c, const char* name) {
        c = new QComboBox(this);
        c->setObjectName(name);
        c->setMinimumWidth(140);
        return c;
    };
    int r = 0;
    side->addWidget(new QLabel(QString::fromUtf8("Farbe:"), this), r++, 0);
    side->addWidget(box(ColorComboBox, "ColorComboBox"), r, 0);
    side->addWidget(button(FarbeBtn, "FarbeBtn", "Farbe setzen"), r++, 1);
    side->addWidget(new QLabel(QString::fromUtf8("Linienstil:"), this), r++, 0);
    side->addWidget(box(LineCombo, "LineCombo"), r, 0);
    side->addWidget(button(LinienstilBtn, "LinienstilBtn", "Linienstil setzen"), r++, 1);
    side->addWidget(new QLabel(QString::fromUtf8("Linienbreite:"), this), r++, 0);
    side->addWidget(box(LineWeightBox, "LineWeightBox"), r, 0);
    side->addWidget(button(LinienbreiteBtn, "LinienbreiteBtn", "Linienbreite setzen"), r++, 1);
    side->addWidget(button(SichtbarBtn, "SichtbarBtn", "Sichtbar machen"), r, 0);
    side->addWidget(button(UnsichtbarBtn, "UnsichtbarBtn", "Unsichtbar machen"), r++, 1);
    side->addWidget(button(SperrenBtn, "SperrenBtn", "Sperren"), r, 0);
    side->addWidget(button(EntsperrenBtn, "EntsperrenBtn", "Entsperren"), r++, 1);
    side->setRowStretch(r++, 1);
    side->addWidget(button(NeueEbeneBtn, "NeueEbeneBtn", "Neue Ebene..."), r, 0);
    side->addWidget(button(OKBtn, "OKBtn", "OK"), r, 1);
    OKBtn->setDefault(true);

    for (const char* c : view::colornames)
        ColorComboBox->addItem(QString::fromUtf8(c));
    for (const char* w : styles::layerWeightItems)
        LineWeightBox->addItem(QString::fromUtf8(w));

    connect(FarbeBtn, &QPushButton::clicked, this, [this] {
        const int c = ColorComboBox->currentIndex() + 1;
        changeRow([c](styles::LayerRow& row) { row.colour = c; });
    });
    connect(LinienstilBtn, &QPushButton::clicked, this, [this] {
        if (LineCombo->currentIndex() < 0)
            return;
        const std::string lt = LineCombo->currentText().toStdString();
        changeRow([lt](styles::LayerRow& row) { row.ltname = lt; });
    });
    connect(LinienbreiteBtn, &QPushButton::clicked, this, [this] {
        const int w = styles::layerWeightOfIndex(LineWeightBox->currentIndex());
        changeRow([w](styles::LayerRow& row) { row.lineweight = w; });
    });
    connect(SichtbarBtn, &QPushButton::clicked, this,
            [this] { changeRow([](styles::LayerRow& row) { row.visible = true; }); });
    connect(UnsichtbarBtn, &QPushButton::clicked, this,
            [this] { changeRow([](styles::LayerRow& row) { row.visible = false; }); });
    connect(SperrenBtn, &QPushButton::clicked, this,
            [this] { changeRow([](styles::LayerRow& row) { row.locked = true; }); });
    connect(EntsperrenBtn, &QPushButton::clicked, this,
            [this] { changeRow([](styles::LayerRow& row) { row.locked = false; }); });
    connect(NeueEbeneBtn, &QPushButton::clicked, this, [this] {
        newLayer = true;
        accept();
    });
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
}

void TLayerForm::showRow(int i)
{
    QTreeWidgetItem* item = ListView1->topLevelItem(i);
    if (!item || !values)
        return;
    const auto texts = styles::layerRowTexts(values->rows[size_t(i)], values->words);
    for (int c = 0; c < int(texts.size()); ++c)
        item->setText(c, QString::fromStdString(texts[size_t(c)]));
}

void TLayerForm::fitColumns()
{
    for (int c = 0; c < ListView1->columnCount(); ++c)
        ListView1->resizeColumnToContents(c);
}

void TLayerForm::changeRow(const std::function<void(styles::LayerRow&)>& change)
{
    // The row the user selected: the list's current item alone (which it takes on focus)
    // is no choice of the user's.
    const QList<QTreeWidgetItem*> chosen = ListView1->selectedItems();
    const int i = chosen.size() == 1 ? ListView1->indexOfTopLevelItem(chosen.front()) : -1;
    if (!values || i < 0 || i >= int(values->rows.size()))
        return;
    change(values->rows[size_t(i)]);
    showRow(i);
    fitColumns();  // "Unsichtbar" is wider than "Sichtbar"
}

styles::LayerDialogEnd TLayerForm::edit(styles::LayerDialogValues& v)
{
    values = &v;
    newLayer = false;
    ListView1->clear();
    for (size_t i = 0; i < v.rows.size(); ++i) {
        ListView1->addTopLevelItem(new QTreeWidgetItem(ListView1));
        showRow(int(i));
    }
    fitColumns();
    LineCombo->clear();
    for (const std::string& n : v.lineTypes)
        LineCombo->addItem(QString::fromStdString(n));
    for (QComboBox* b : {ColorComboBox, LineCombo, LineWeightBox})
        b->setCurrentIndex(b->count() > 0 ? 0 : -1);
    exec();
    values = nullptr;
    return newLayer ? styles::LayerDialogEnd::NewLayer : styles::LayerDialogEnd::Closed;
}
