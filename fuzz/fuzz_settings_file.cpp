// Writes arbitrary bytes to a settings file and reads it through the
// program's settings store (QSettings' INI reader), then reads every value
// the program reads and decodes the stored records and lists as the program
// does: junk in a settings file gives defaults, never a crash.
#include "columns/ColumnLayout.h"
#include "qtcore/QtSettingsStore.h"
#include "settings/LogFontRecord.h"
#include "settings/OptionsValues.h"
#include "settings/Settings.h"
#include "settings/ToolBarLayout.h"
#include "settings/WindowPlacementRecord.h"

#include "FuzzWorkFolder.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

namespace {

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = FuzzWorkFolder() + "/s.ini";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0)
        std::abort();

    const CQtSettingsStore store(QString::fromStdString(path));
    std::size_t seen = 0;
    for (const auto* setting : {&settings::kCurDir, &settings::kMyNames, &settings::kViewer})
        seen += ReadString(store, *setting).size();
    for (const auto* setting : {&settings::kTextColor, &settings::kFlatbar, &settings::kStyle, &settings::kFullPath,
                                &settings::kColSort, &settings::kColSortCur})
        seen += static_cast<std::size_t>(ReadInt(store, *setting) & 1);
    if (const auto font = ReadBinary(store, settings::kLogfont))
        seen += CLogFontRecord::Decode(*font).has_value();
    if (const auto placement = ReadBinary(store, settings::kPlacement))
        seen += CWindowPlacementRecord::Decode(*placement).has_value();
    if (const auto bar = ReadBinary(store, settings::kToolbarLayout))
        seen += CToolBarLayout::Decode(*bar).has_value();
    const CColumnLayout layout = BuildColumnLayout(store);
    seen += layout.columns.size();
    seen += LoadOptions(store).myNames.size();
    return seen == static_cast<std::size_t>(-1) ? -1 : 0;
}
