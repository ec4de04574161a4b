#include "TControls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "ToolkitPrivate_qt.h"

namespace {

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

template <class TWidget>
TWidget* As(const TControl& control)
{
    return static_cast<TWidget*>(WidgetOf(control));
}

}  // namespace

TControl::TControl(std::unique_ptr<TControlImpl> impl) : impl(std::move(impl)) {}
TControl::~TControl() = default;

const std::string& TControl::Name() const { return impl->name; }
int TControl::Left() const { return impl->widget->x(); }
int TControl::Top() const { return impl->widget->y(); }
int TControl::Width() const { return impl->widget->width(); }
int TControl::Height() const { return impl->widget->height(); }

TLabel::TLabel(std::unique_ptr<TControlImpl> impl) : TControl(std::move(impl)) {}
std::string TLabel::Caption() const { return As<QLabel>(*this)->text().toStdString(); }

TEdit::TEdit(std::unique_ptr<TControlImpl> impl) : TControl(std::move(impl)) {}
std::string TEdit::Text() const { return As<QLineEdit>(*this)->text().toStdString(); }
void TEdit::SetText(const std::string& text) { As<QLineEdit>(*this)->setText(Utf8(text)); }

TComboBox::TComboBox(std::unique_ptr<TControlImpl> impl) : TControl(std::move(impl)) {}
std::string TComboBox::Text() const { return As<QComboBox>(*this)->currentText().toStdString(); }
void TComboBox::SetText(const std::string& text) { As<QComboBox>(*this)->setEditText(Utf8(text)); }

std::vector<std::string> TComboBox::Items() const
{
    std::vector<std::string> items;
    const QComboBox* combo = As<QComboBox>(*this);
    for (int i = 0; i < combo->count(); ++i)
        items.push_back(combo->itemText(i).toStdString());
    return items;
}

TCheckBox::TCheckBox(std::unique_ptr<TControlImpl> impl) : TControl(std::move(impl)) {}
std::string TCheckBox::Caption() const { return As<QAbstractButton>(*this)->text().toStdString(); }
bool TCheckBox::Checked() const { return As<QAbstractButton>(*this)->isChecked(); }
void TCheckBox::SetChecked(bool checked) { As<QAbstractButton>(*this)->setChecked(checked); }

TButton::TButton(std::unique_ptr<TControlImpl> impl) : TControl(std::move(impl)) {}
std::string TButton::Caption() const { return As<QAbstractButton>(*this)->text().toStdString(); }
