#include "ControlWidgets_qt.h"

#include <QLabel>

#include "HintTips.h"
#include "TByteLimitedEdit.h"
#include "TCompletingComboBox.h"
#include "TFocusButton.h"
#include "TFocusCheckBox.h"

QLabel* NewLabelWidget(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setFocusPolicy(Qt::NoFocus);
    // Captions show literally: no access keys, no rich text.
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLineEdit* NewEditWidget(QWidget* parent, int byteLimit)
{
    auto* edit = new TByteLimitedEdit(parent);
    edit->SetByteLimit(byteLimit);
    return edit;
}

QComboBox* NewComboWidget(QWidget* parent, int byteLimit, const QStringList& items)
{
    auto* combo = new TCompletingComboBox(parent);
    combo->SetByteLimit(byteLimit);
    combo->SetItems(items);
    return combo;
}

QCheckBox* NewCheckWidget(QWidget* parent) { return new TFocusCheckBox(parent); }

QPushButton* NewButtonWidget(QWidget* parent) { return new TFocusButton(parent); }

void InstallHint(QWidget* control, const QString& hint) { InstallHintTip(control, hint); }
