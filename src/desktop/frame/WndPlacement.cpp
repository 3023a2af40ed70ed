#include "desktop/frame/WndPlacement.h"

#include "settings/Settings.h"
#include "settings/SettingsStore.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace {
// Larger than any screen; a stored size beyond it is not a window's.
constexpr int kMaxExtent = 32767;
} // namespace

CWndPlacement::CWndPlacement(ISettingsStore& store, std::string section) : m_store(store), m_section(std::move(section))
{
}

bool CWndPlacement::Restore(QWidget& frame, int& showCmd) const
{
    const std::optional<std::string> bytes = m_store.GetProfileBinary(m_section, settings::kPlacement.key);
    if (!bytes)
        return false;
    const std::optional<CWindowPlacementRecord> record = CWindowPlacementRecord::Decode(*bytes);
    if (!record)
        return false;
    ApplyGeometry(frame, *record);
    showCmd = static_cast<int>(record->showCmd);
    if (record->showCmd == CWindowPlacementRecord::kShowMinimized &&
        (record->flags & CWindowPlacementRecord::kRestoreToMaximized) != 0) {
        // Shown minimised, and maximised again when restored.
        frame.setWindowState(Qt::WindowMinimized | Qt::WindowMaximized);
    }
    return true;
}

void CWndPlacement::Save(const QWidget& frame) const
{
    m_store.WriteProfileBinary(m_section, settings::kPlacement.key, RecordOf(frame).Encode());
}

CWindowPlacementRecord CWndPlacement::RecordOf(const QWidget& frame)
{
    CWindowPlacementRecord record;
    const Qt::WindowStates state = frame.windowState();
    if (state & Qt::WindowMinimized) {
        record.showCmd = CWindowPlacementRecord::kShowMinimized;
        if (state & Qt::WindowMaximized)
            record.flags |= CWindowPlacementRecord::kRestoreToMaximized;
    } else if (state & Qt::WindowMaximized) {
        record.showCmd = CWindowPlacementRecord::kShowMaximized;
    } else {
        record.showCmd = CWindowPlacementRecord::kShowNormal;
    }
    QRect normal = frame.normalGeometry();
    if (!normal.isValid())
        normal = frame.geometry();
    record.left = normal.left();
    record.top = normal.top();
    record.right = normal.left() + normal.width();
    record.bottom = normal.top() + normal.height();
    return record;
}

void CWndPlacement::ApplyGeometry(QWidget& frame, const CWindowPlacementRecord& record)
{
    const std::int64_t width = static_cast<std::int64_t>(record.right) - record.left;
    const std::int64_t height = static_cast<std::int64_t>(record.bottom) - record.top;
    if (width <= 0 || height <= 0 || width > kMaxExtent || height > kMaxExtent)
        return;
    QRect rect(record.left, record.top, static_cast<int>(width), static_cast<int>(height));

    // A window stored on a screen that is gone would open out of reach: bring
    // it onto the primary screen, as the platform's own placement does.
    bool visible = false;
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen->availableGeometry().intersects(rect))
            visible = true;
    }
    if (!visible) {
        if (const QScreen* primary = QGuiApplication::primaryScreen()) {
            const QRect area = primary->availableGeometry();
            rect.setSize(rect.size().boundedTo(area.size()));
            rect.moveTopLeft(area.topLeft());
        }
    }
    frame.setWindowState(frame.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
    frame.setGeometry(rect);
}
