#pragma once

#include "settings/SettingsStore.h"

#include <QString>

#include <memory>

class QSettings;

// The settings store over QSettings. A value lives at "Section/Key"; a value
// with an empty section ("Toolbar") sits at the top level. Strings are bytes:
// valid UTF-8 is kept as text, anything else as a byte array, so every byte
// string reads back exactly. Integers are kept as numbers and binary values
// as byte arrays. Every write is flushed to the file at once.
class CQtSettingsStore : public ISettingsStore
{
public:
    // The user's store: organisation "Pellmore", application "Varnex", in the
    // platform's native format.
    CQtSettingsStore();
    // A store in the INI file at path.
    explicit CQtSettingsStore(const QString& iniPath);
    ~CQtSettingsStore() override;
    CQtSettingsStore(const CQtSettingsStore&) = delete;
    CQtSettingsStore& operator=(const CQtSettingsStore&) = delete;

    std::string GetProfileString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue = {}) const override;
    std::int32_t GetProfileInt(std::string_view section, std::string_view key,
                               std::int32_t defaultValue) const override;
    std::optional<std::string> GetProfileBinary(std::string_view section, std::string_view key) const override;

    void WriteProfileString(std::string_view section, std::string_view key, std::string_view value) override;
    void WriteProfileInt(std::string_view section, std::string_view key, std::int32_t value) override;
    void WriteProfileBinary(std::string_view section, std::string_view key, std::string_view bytes) override;

    // The underlying settings, for state whose layout the toolkit defines
    // (docking state, recent files).
    QSettings& Settings() { return *m_settings; }

private:
    std::unique_ptr<QSettings> m_settings;
};
