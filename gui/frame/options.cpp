#include "frame/options.h"

#include "base/qt_text.h"
#include "base/settings_store.h"
#include "web/web_addresses.h"

namespace kmr::gui {

namespace {

template <class... F>
struct Overloaded : F... {
    using F::operator()...;
};

// The value as it would stand in an Options member.
bool asFlag(const OptionValue& v) { return std::get<bool>(v); }
qint32 asNumber(const OptionValue& v) { return std::get<qint32>(v); }
QString asText(const OptionValue& v) { return QString::fromUtf8(std::get<const char*>(v)); }

void set(Options& options, const OptionKey& k, const OptionValue& value) {
    std::visit(Overloaded{[&](bool Options::*f) { options.*f = asFlag(value); },
                          [&](qint32 Options::*f) { options.*f = asNumber(value); },
                          [&](QString Options::*f) { options.*f = asText(value); }},
               k.field);
}

void write(const SettingsKey& key, const OptionKey& k, const Options& options) {
    const QString name = QLatin1String(k.name);
    std::visit(Overloaded{[&](bool Options::*f) { key.writeBool(name, options.*f); },
                          [&](qint32 Options::*f) { key.writeInt(name, options.*f); },
                          [&](QString Options::*f) { key.writeText(name, options.*f); }},
               k.field);
}

}  // namespace

QString Options::siteAddress() const {
    const auto& sites = kmr::web::kUpdateSites;
    if (site >= 0 && static_cast<std::size_t>(site) < sites.size())
        return qs(sites[static_cast<std::size_t>(site)].address);
    if (static_cast<std::size_t>(site) == sites.size()) return otherAddress;
    return {};
}

std::span<const OptionKey> optionKeys() {
    // "Centrar" is the one whose three states differ in kind: start-up stores it on, a missing value
    // reads on, and the dialog's box is unchecked until the first read, which every start makes.
    static const OptionKey keys[] = {
        {"Bienvenida", &Options::welcome, true, true},
        {"Centrar", &Options::centre, true, false},
        {"Asistente", &Options::runWizard, true, true},
        {"Vericonos", &Options::showToolBar, true, true},
        {"Verestado", &Options::showStatusBar, true, true},
        {"Veridea", &Options::showTips, true, true},
        {"inicio", &Options::showQuickStart, true, true},
        // Added later than the others: a missing value is on, and start-up leaves the key as it found it.
        {"Conservar", &Options::keepImportExtras, true, true, false},
        {"Actualizar", &Options::site, qint32{0}, qint32{0}},
        {"Otro", &Options::otherAddress, "http://", ""},
    };
    return keys;
}

QString optionName(const OptionField& field) {
    for (const OptionKey& k : optionKeys()) {
        if (k.field == field) return QLatin1String(k.name);
    }
    return {};
}

Options designedOptions() {
    Options options;
    for (const OptionKey& k : optionKeys()) set(options, k, k.designState);
    return options;
}

Options readOptions(const SettingsKey& key) {
    Options options;
    for (const OptionKey& k : optionKeys()) {
        const QString name = QLatin1String(k.name);
        std::visit(Overloaded{[&](bool Options::*f) { options.*f = key.readBool(name, asFlag(k.storedDefault)); },
                              [&](qint32 Options::*f) { options.*f = key.readInt(name, asNumber(k.storedDefault)); },
                              [&](QString Options::*f) { options.*f = key.readText(name, asText(k.storedDefault)); }},
                   k.field);
    }
    return options;
}

void storeOptions(const SettingsKey& key, const Options& options) {
    const SettingsBatch batch(key.store());
    for (const OptionKey& k : optionKeys()) write(key, k, options);
}

void writeMissingDefaults(const SettingsKey& key) {
    Options defaults;
    for (const OptionKey& k : optionKeys()) set(defaults, k, k.storedDefault);
    for (const OptionKey& k : optionKeys()) {
        if (k.writtenAtStartUp && !key.valueExists(QLatin1String(k.name))) write(key, k, defaults);
    }
    for (const QString& name : {kFrameLeft, kFrameTop, kFrameWidth, kFrameHeight, kFrameState}) {
        if (!key.valueExists(name)) key.writeInt(name, 0);
    }
}

}  // namespace kmr::gui
