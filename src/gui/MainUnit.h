// The main window.
#pragma once

#include <QMainWindow>
#include <memory>

#include "edit/Editor.h"

class QtUi;

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    std::unique_ptr<QtUi> ui;
    std::unique_ptr<kerbon::Editor> editor;
};
