// The Qt widgets that stand behind each kind of control.
#pragma once

#include <QString>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

// Every widget is owned by its parent.
QLabel* NewLabelWidget(QWidget* parent);
QLineEdit* NewEditWidget(QWidget* parent, int byteLimit);
QComboBox* NewComboWidget(QWidget* parent, int byteLimit, const QStringList& items);
QCheckBox* NewCheckWidget(QWidget* parent);
QPushButton* NewButtonWidget(QWidget* parent);
void InstallHint(QWidget* control, const QString& hint);
