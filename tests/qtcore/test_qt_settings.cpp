#include "qtcore/QtSettingsStore.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {
class QtSettingsStoreTest : public testing::Test
{
protected:
    QString IniPath() const { return m_dir.filePath(QStringLiteral("Varnex.conf")); }
    std::unique_ptr<CQtSettingsStore> Open() const { return std::make_unique<CQtSettingsStore>(IniPath()); }

    void WriteRawFile(const QByteArray& text) const
    {
        QFile file(IniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    QTemporaryDir m_dir;
};

std::string AllByteValues()
{
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes += static_cast<char>(i);
    }
    return bytes;
}
} // namespace

TEST_F(QtSettingsStoreTest, FirstStartReadsEveryDefault)
{
    ASSERT_TRUE(m_dir.isValid());
    const auto store = Open();
    EXPECT_EQ(store->GetProfileInt("Frame", "Flatbar", 1), 1);
    EXPECT_EQ(store->GetProfileInt("Header", "ColSortCur", -1), -1);
    EXPECT_EQ(store->GetProfileString("Misc", "MGT Viewer", "Glyphon.EXE"), "Glyphon.EXE");
    EXPECT_EQ(store->GetProfileString("Misc", "cur dir"), "");
    EXPECT_FALSE(store->GetProfileBinary("Frame", "Placement").has_value());
    EXPECT_FALSE(store->GetProfileBinary("", "Toolbar").has_value());
}

TEST_F(QtSettingsStoreTest, ValuesSurviveARestartExactly)
{
    const std::string strings[] = {
        "Ann, Bob",
        "/home/user/My Games",
        "  leading and trailing  ",
        "a=b;c#d\"e\\f\n\tg",
        "@ByteArray(not binary)",
        "@@",
        "Game Name:GN|Black\\|White:PB",
        "\xE6\x9C\xAC\xE5\x9B\xA0\xE5\x9D\x8A \xC3\xA9",
        "\xFF\xFE\x80 not UTF-8 \xC3",
        std::string("nul\0inside", 10),
        "",
    };
    const std::string binary = AllByteValues();
    {
        const auto store = Open();
        for (std::size_t i = 0; i < std::size(strings); ++i) {
            store->WriteProfileString("Misc", "My Names " + std::to_string(i), strings[i]);
        }
        store->WriteProfileInt("Misc", "Text Color", 0x00FF8040);
        store->WriteProfileInt("Header", "ColSortCur", -1);
        store->WriteProfileInt("Header", "min", -2147483647 - 1);
        store->WriteProfileInt("Header", "max", 2147483647);
        store->WriteProfileBinary("Frame", "Placement", binary);
        store->WriteProfileBinary("Header", "Width", "");
        store->WriteProfileBinary("", "Toolbar", std::string("\x00\xE5\x00\x00", 4));
    }
    // QSettings caches a file per process; a copy under a new name is read
    // from the disk, as the next run of the program would read it.
    const QString copied = m_dir.filePath(QStringLiteral("Restarted.conf"));
    ASSERT_TRUE(QFile::copy(IniPath(), copied));
    const auto store = std::make_unique<CQtSettingsStore>(copied);
    for (std::size_t i = 0; i < std::size(strings); ++i) {
        EXPECT_EQ(store->GetProfileString("Misc", "My Names " + std::to_string(i), "absent"), strings[i]) << i;
    }
    EXPECT_EQ(store->GetProfileInt("Misc", "Text Color", 0), 0x00FF8040);
    EXPECT_EQ(store->GetProfileInt("Header", "ColSortCur", 0), -1);
    EXPECT_EQ(store->GetProfileInt("Header", "min", 0), -2147483647 - 1);
    EXPECT_EQ(store->GetProfileInt("Header", "max", 0), 2147483647);
    EXPECT_EQ(store->GetProfileBinary("Frame", "Placement"), binary);
    EXPECT_EQ(store->GetProfileBinary("Header", "Width"), std::string());
    EXPECT_EQ(store->GetProfileBinary("", "Toolbar"), std::string("\x00\xE5\x00\x00", 4));
}

TEST_F(QtSettingsStoreTest, ValuesLiveAtSectionSlashKeyAndTheEmptySectionAtTheTop)
{
    {
        const auto store = Open();
        store->WriteProfileString("Misc", "cur dir", "/tmp/games");
        store->WriteProfileInt("Frame", "Full Path", 1);
        store->WriteProfileBinary("", "Toolbar", "xy");
    }
    QSettings raw(IniPath(), QSettings::IniFormat);
    EXPECT_EQ(raw.value(QStringLiteral("Misc/cur dir")).toString(), QStringLiteral("/tmp/games"));
    EXPECT_EQ(raw.value(QStringLiteral("Frame/Full Path")).toInt(), 1);
    EXPECT_EQ(raw.value(QStringLiteral("Toolbar")).toByteArray(), QByteArray("xy"));
    EXPECT_TRUE(raw.childKeys().contains(QStringLiteral("Toolbar")));
}

TEST_F(QtSettingsStoreTest, WritesReachTheFileAtOnce)
{
    const auto store = Open();
    store->WriteProfileInt("Frame", "Style", 3);
    QFile file(IniPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains("Style=3"));
}

TEST_F(QtSettingsStoreTest, HandEditedValuesReadSafely)
{
    WriteRawFile("[Frame]\n"
                 "Style=abc\n"
                 "Flatbar=0\n"
                 "Big=99999999999\n"
                 "[Misc]\n"
                 "My%20Names=Ann,Bob\n"
                 "Text%20Color=255\n");
    const auto store = Open();
    EXPECT_EQ(store->GetProfileInt("Frame", "Style", 2), 2);
    EXPECT_EQ(store->GetProfileInt("Frame", "Flatbar", 1), 0);
    EXPECT_EQ(store->GetProfileInt("Frame", "Big", 5), 5);
    EXPECT_EQ(store->GetProfileInt("Misc", "Text Color", 0), 255);
    EXPECT_EQ(store->GetProfileString("Misc", "My Names"), "Ann,Bob");
}

TEST_F(QtSettingsStoreTest, DefaultStoreUsesTheCompanyAndApplicationKeys)
{
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_dir.path());
    CQtSettingsStore store;
    EXPECT_EQ(store.Settings().organizationName(), QStringLiteral("Pellmore"));
    EXPECT_EQ(store.Settings().applicationName(), QStringLiteral("Varnex"));
    EXPECT_TRUE(store.Settings().fileName().startsWith(m_dir.path()));
    store.WriteProfileInt("Frame", "Style", 1);
    EXPECT_EQ(CQtSettingsStore().GetProfileInt("Frame", "Style", 0), 1);
}
