// The corner count of the regular polygon tool.
#pragma once

#include <QDialog>

class TPolygonForm : public QDialog {
    Q_OBJECT
public:
    explicit TPolygonForm(QWidget* parent = nullptr);
};
