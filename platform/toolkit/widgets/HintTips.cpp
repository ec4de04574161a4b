#include "HintTips.h"

#include <QWidget>

#include "THintTip.h"

void InstallHintTip(QWidget* control, const QString& hint)
{
    if (auto* tip = control->findChild<THintTip*>(QString(), Qt::FindDirectChildrenOnly)) {
        tip->SetHint(hint);
        return;
    }
    new THintTip(control, hint); // owned by the control
}
