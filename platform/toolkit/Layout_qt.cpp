#include "Layout.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <stdexcept>

namespace {

std::string StringOf(const QJsonObject& object, const char* key)
{
    return object.value(QLatin1String(key)).toString().toStdString();
}

int IntOf(const QJsonObject& object, const char* key, int fallback = 0)
{
    return object.value(QLatin1String(key)).toInt(fallback);
}

std::vector<std::string> StringsOf(const QJsonObject& object, const char* key)
{
    std::vector<std::string> strings;
    for (const QJsonValue& value : object.value(QLatin1String(key)).toArray())
        strings.push_back(value.toString().toStdString());
    return strings;
}

std::map<std::string, std::string> EventsOf(const QJsonObject& object)
{
    std::map<std::string, std::string> events;
    const QJsonObject wiring = object.value(QLatin1String("events")).toObject();
    for (auto it = wiring.begin(); it != wiring.end(); ++it)
        events[it.key().toStdString()] = it.value().toString().toStdString();
    return events;
}

TLayoutControl ControlOf(const QJsonObject& object)
{
    TLayoutControl control;
    control.name = StringOf(object, "name");
    control.kind = StringOf(object, "kind");
    control.left = IntOf(object, "left");
    control.top = IntOf(object, "top");
    control.width = IntOf(object, "width");
    control.height = IntOf(object, "height");
    control.caption = StringOf(object, "caption");
    control.items = StringsOf(object, "items");
    control.tabOrder = IntOf(object, "tabOrder", -1);
    control.maxLength = IntOf(object, "maxLength");
    control.hint = StringOf(object, "hint");
    control.showHint = object.value(QLatin1String("showHint")).toBool();
    control.autoSize = object.value(QLatin1String("autoSize")).toBool();
    control.events = EventsOf(object);
    return control;
}

TLayoutForm FormOf(const QJsonObject& object)
{
    TLayoutForm form;
    form.name = StringOf(object, "object");
    form.className = StringOf(object, "class");
    form.caption = StringOf(object, "caption");
    form.left = IntOf(object, "left");
    form.top = IntOf(object, "top");
    form.clientWidth = IntOf(object, "clientWidth");
    form.clientHeight = IntOf(object, "clientHeight");
    const QJsonObject font = object.value(QLatin1String("font")).toObject();
    form.fontFamilies = StringsOf(font, "families");
    form.fontPixelSize = IntOf(font, "pixelSize", 12);
    form.layoutTextHeight = IntOf(object, "layoutTextHeight", 12);
    form.showHint = object.value(QLatin1String("showHint")).toBool();
    form.events = EventsOf(object);
    for (const QJsonValue& control : object.value(QLatin1String("controls")).toArray())
        form.controls.push_back(ControlOf(control.toObject()));
    return form;
}

}  // namespace

TLayoutForm ReadStoredLayout(const std::string& layoutName)
{
    QFile file(QStringLiteral(":/layouts/") + QString::fromStdString(layoutName));
    if (!file.open(QIODevice::ReadOnly))
        throw std::logic_error("stored layout " + layoutName + " is missing");
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        throw std::logic_error("stored layout " + layoutName + " is malformed: " +
                               error.errorString().toStdString());
    return FormOf(document.object());
}
