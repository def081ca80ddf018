// The changed keys kept per user, read and written beside the editor's other settings.
#include "app/shortcutsettings.h"

#include "app/recentsettings.h"

#include <QSettings>
#include <QStringList>

namespace quarvel {

namespace {

const char* const Group = "Shortcuts";

} // namespace

TKeptShortcuts ReadShortcuts() {
    TKeptShortcuts kept;
    ReadSettingsFile(UserSettingsFile("quarvel", "quarvel"), [&](QSettings& settings) {
        settings.beginGroup(Group);
        for (const QString& name : settings.childKeys()) {
            const QVariant value = settings.value(name);
            std::string text = "\x01"; // no key
            if (value.typeId() == QMetaType::QString)
                text = value.toString().toStdString();
            else if (value.typeId() == QMetaType::QStringList) // a key with a comma, unquoted
                text = value.toStringList().join(",").toStdString();
            kept[name.toStdString()] = text;
        }
        settings.endGroup();
    });
    return kept;
}

void WriteShortcuts(const TKeptShortcuts& changes) {
    // A pipe or huge file in the settings' place stays as it is, unread.
    WriteSettingsFile(UserSettingsFile("quarvel", "quarvel"), [&](QSettings& settings) {
        settings.remove(Group);
        settings.beginGroup(Group);
        for (const auto& [name, key] : changes)
            settings.setValue(QString::fromStdString(name), QString::fromStdString(key));
        settings.endGroup();
    });
}

} // namespace quarvel
