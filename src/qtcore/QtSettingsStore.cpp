#include "qtcore/QtSettingsStore.h"

#include <QByteArray>
#include <QSettings>
#include <QStringDecoder>
#include <QVariant>

#include <limits>

namespace {
QString KeyPath(std::string_view section, std::string_view key)
{
    const QString name = QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
    if (section.empty()) {
        return name;
    }
    return QString::fromUtf8(section.data(), static_cast<qsizetype>(section.size())) + QLatin1Char('/') + name;
}

QByteArray ToBytes(std::string_view bytes)
{
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// A value read back from the file has lost its type; whatever it holds, its
// bytes are the text: a byte array as it is, anything else as UTF-8. A value
// typed into the file by hand with commas comes back as a list, which is
// joined again.
std::string BytesOf(const QVariant& value)
{
    QByteArray bytes;
    if (value.typeId() == QMetaType::QByteArray) {
        bytes = value.toByteArray();
    } else if (value.typeId() == QMetaType::QStringList) {
        bytes = value.toStringList().join(QLatin1Char(',')).toUtf8();
    } else {
        bytes = value.toString().toUtf8();
    }
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool IsValidUtf8(std::string_view bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return !decoder.hasError();
}
} // namespace

CQtSettingsStore::CQtSettingsStore()
    : m_settings(std::make_unique<QSettings>(QStringLiteral("Pellmore"), QStringLiteral("Varnex")))
{
}

CQtSettingsStore::CQtSettingsStore(const QString& iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
}

CQtSettingsStore::~CQtSettingsStore() = default;

std::string CQtSettingsStore::GetProfileString(std::string_view section, std::string_view key,
                                               std::string_view defaultValue) const
{
    const QVariant value = m_settings->value(KeyPath(section, key));
    if (!value.isValid()) {
        return std::string(defaultValue);
    }
    return BytesOf(value);
}

std::int32_t CQtSettingsStore::GetProfileInt(std::string_view section, std::string_view key,
                                             std::int32_t defaultValue) const
{
    const QVariant value = m_settings->value(KeyPath(section, key));
    if (!value.isValid()) {
        return defaultValue;
    }
    // QVariant::toInt cuts a larger number to 32 bits; a value out of range
    // is no number of this store.
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    if (!ok || number < std::numeric_limits<std::int32_t>::min() || number > std::numeric_limits<std::int32_t>::max()) {
        return defaultValue;
    }
    return static_cast<std::int32_t>(number);
}

std::optional<std::string> CQtSettingsStore::GetProfileBinary(std::string_view section, std::string_view key) const
{
    const QVariant value = m_settings->value(KeyPath(section, key));
    if (!value.isValid()) {
        return std::nullopt;
    }
    return BytesOf(value);
}

void CQtSettingsStore::WriteProfileString(std::string_view section, std::string_view key, std::string_view value)
{
    if (IsValidUtf8(value)) {
        m_settings->setValue(KeyPath(section, key),
                             QString::fromUtf8(value.data(), static_cast<qsizetype>(value.size())));
    } else {
        m_settings->setValue(KeyPath(section, key), ToBytes(value));
    }
    m_settings->sync();
}

void CQtSettingsStore::WriteProfileInt(std::string_view section, std::string_view key, std::int32_t value)
{
    m_settings->setValue(KeyPath(section, key), static_cast<int>(value));
    m_settings->sync();
}

void CQtSettingsStore::WriteProfileBinary(std::string_view section, std::string_view key, std::string_view bytes)
{
    m_settings->setValue(KeyPath(section, key), ToBytes(bytes));
    m_settings->sync();
}
