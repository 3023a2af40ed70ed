#pragma once

#include "settings/WindowPlacementRecord.h"

#include <string>

class ISettingsStore;
class QWidget;

// The frame's remembered placement: the 44-byte record under
// section / "Placement", converted to and from the window's normal geometry
// (the client area in screen coordinates) and its show state.
class CWndPlacement
{
public:
    CWndPlacement(ISettingsStore& store, std::string section);

    // Applies the stored placement and replaces showCmd with its show
    // state; false (showCmd unchanged) when nothing usable is stored.
    bool Restore(QWidget& frame, int& showCmd) const;
    void Save(const QWidget& frame) const;

    const std::string& Section() const { return m_section; }

    static CWindowPlacementRecord RecordOf(const QWidget& frame);
    // Places frame at the record's normal rectangle, kept on a screen.
    static void ApplyGeometry(QWidget& frame, const CWindowPlacementRecord& record);

private:
    ISettingsStore& m_store;
    std::string m_section;
};
