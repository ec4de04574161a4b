#include "FormBuilder_qt.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "ControlWidgets_qt.h"
#include "FocusLeave_qt.h"
#include "TApplication.h"

namespace {

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

QStringList Utf8List(const std::vector<std::string>& texts)
{
    QStringList list;
    for (const std::string& text : texts)
        list << Utf8(text);
    return list;
}

QFont FontOf(const TLayoutForm& layout)
{
    QFont font;
    font.setFamilies(Utf8List(layout.fontFamilies));
    font.setPixelSize(layout.fontPixelSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// The ratio between the height the font's characters render at here and the text height the
// layout was made for; every position and size is scaled by it.
double ScaleFor(const QFont& font, int layoutTextHeight)
{
    const int rendered = QFontInfo(font).pixelSize();
    if (rendered <= 0 || layoutTextHeight <= 0)
        return 1.0;
    return static_cast<double>(rendered) / layoutTextHeight;
}

int Scaled(int value, double scale) { return static_cast<int>(std::lround(value * scale)); }

void SetUpWindow(QWidget& window, const TLayoutForm& layout, const QFont& font, double scale)
{
    // Title bar with the system menu and the close box; no minimise or maximise box.
    window.setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    window.setWindowTitle(Utf8(layout.caption));
    window.setFont(font);
    QPalette palette = window.palette();
    palette.setColor(QPalette::Window, palette.color(QPalette::Button));
    window.setPalette(palette);
    window.setAutoFillBackground(true);
    window.setFixedSize(Scaled(layout.clientWidth, scale), Scaled(layout.clientHeight, scale));
    window.move(layout.left, layout.top);
}

std::unique_ptr<TControl> NewControl(const TLayoutControl& entry, QWidget* parent)
{
    auto impl = std::make_unique<TControlImpl>();
    impl->name = entry.name;
    if (entry.kind == "TLabel") {
        QLabel* label = NewLabelWidget(parent);
        label->setText(Utf8(entry.caption));
        impl->widget = label;
        return std::make_unique<TLabel>(std::move(impl));
    }
    if (entry.kind == "TEdit") {
        impl->widget = NewEditWidget(parent, entry.maxLength);
        return std::make_unique<TEdit>(std::move(impl));
    }
    if (entry.kind == "TComboBox") {
        impl->widget = NewComboWidget(parent, entry.maxLength, Utf8List(entry.items));
        return std::make_unique<TComboBox>(std::move(impl));
    }
    if (entry.kind == "TCheckBox") {
        QCheckBox* check = NewCheckWidget(parent);
        check->setText(Utf8(entry.caption));
        impl->widget = check;
        return std::make_unique<TCheckBox>(std::move(impl));
    }
    if (entry.kind == "TButton") {
        QPushButton* button = NewButtonWidget(parent);
        button->setText(Utf8(entry.caption));
        impl->widget = button;
        return std::make_unique<TButton>(std::move(impl));
    }
    throw std::logic_error("stored layout: control " + entry.name + " has unknown kind " + entry.kind);
}

void Place(QWidget& widget, const TLayoutControl& entry, double scale)
{
    widget.setGeometry(Scaled(entry.left, scale), Scaled(entry.top, scale), Scaled(entry.width, scale),
                       Scaled(entry.height, scale));
    // A label sizes itself to its caption.
    if (entry.autoSize)
        widget.resize(widget.sizeHint());
}

const TNotifyEvent& HandlerNamed(const TFormImpl& impl, const std::string& name)
{
    const auto found = impl.handlers.find(name);
    if (found == impl.handlers.end())
        throw std::logic_error("stored layout: handler " + name + " is not published");
    return found->second;
}

void WireEvents(TFormImpl& impl, TControl& control, const TLayoutControl& entry)
{
    for (const auto& [event, handler] : entry.events) {
        if (event == "OnExit") {
            control.OnExit = HandlerNamed(impl, handler);
            continue;
        }
        auto* button = dynamic_cast<TButton*>(&control);
        if (event != "OnClick" || button == nullptr)
            throw std::logic_error("stored layout: " + entry.name + " has no event " + event);
        button->OnClick = HandlerNamed(impl, handler);
        QObject::connect(static_cast<QAbstractButton*>(WidgetOf(control)), &QAbstractButton::clicked,
                         [button] { Application->HandleEvent(button->OnClick, button); });
    }
}

void SetTabOrder(TFormImpl& impl, const TLayoutForm& layout)
{
    std::vector<std::pair<int, QWidget*>> order;
    for (std::size_t i = 0; i < layout.controls.size(); ++i) {
        if (layout.controls[i].tabOrder >= 0)
            order.emplace_back(layout.controls[i].tabOrder, WidgetOf(*impl.controls[i]));
    }
    std::sort(order.begin(), order.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    for (std::size_t i = 1; i < order.size(); ++i)
        QWidget::setTabOrder(order[i - 1].second, order[i].second);
    impl.firstFocus = order.empty() ? nullptr : order.front().second;
}

void BindFields(TFormImpl& impl)
{
    for (const auto& [name, bind] : impl.fields) {
        const auto control = std::find_if(impl.controls.begin(), impl.controls.end(),
                                          [&name = name](const auto& c) { return c->Name() == name; });
        if (control == impl.controls.end() || !bind(**control))
            throw std::logic_error("stored layout: no control " + name + " of the published kind");
    }
}

}  // namespace

void BuildForm(TForm& form, TFormImpl& impl, const TLayoutForm& layout)
{
    impl.window = std::make_unique<TFormWindow>(form);
    const QFont font = FontOf(layout);
    const double scale = ScaleFor(font, layout.layoutTextHeight);
    SetUpWindow(*impl.window, layout, font, scale);

    for (const TLayoutControl& entry : layout.controls) {
        std::unique_ptr<TControl> control = NewControl(entry, impl.window.get());
        Place(*WidgetOf(*control), entry, scale);
        if (entry.showHint)
            InstallHint(WidgetOf(*control), Utf8(entry.hint));
        WireEvents(impl, *control, entry);
        impl.controls.push_back(std::move(control));
    }
    SetTabOrder(impl, layout);
    BindFields(impl);
    for (const auto& [event, handler] : layout.events) {
        if (event != "OnCreate")
            throw std::logic_error("stored layout: the form has no event " + event);
        form.OnCreate = HandlerNamed(impl, handler);
    }
    InstallFocusLeaveEvents(impl);
}
