#include "qtcore/ResText.h"

#include "settings/StringTable.h"

namespace {
QString FromTable(const std::string& text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
} // namespace

QString ResText(int id)
{
    return FromTable(LoadResString(id));
}

QString ResPrompt(int id)
{
    return FromTable(PromptOf(LoadResString(id)));
}

QString ResToolTip(int id)
{
    return FromTable(ToolTipOf(LoadResString(id)));
}
