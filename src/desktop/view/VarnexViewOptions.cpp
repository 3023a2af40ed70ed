#include "desktop/view/VarnexView.h"

#include "desktop/app/Prompts.h"
#include "desktop/dialogs/OptionsSheet.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/ReportListModel.h"
#include "settings/OptionsValues.h"
#include "settings/Settings.h"

// The Options command: edit the columns, the viewer and the user's names in
// one sheet; on OK write what changed and rebuild when columns or names did.
void CVarnexView::OnOptions()
{
    // The loaded values double as the copies the edited lists are compared with.
    const COptionsValues loaded = LoadOptions(m_store);
    COptionsSheet sheet(loaded, m_prompts, this);
    if (m_prompts.ExecDialog(sheet) != QDialog::Accepted)
        return;
    if (SaveOptions(m_store, sheet.Edited(), loaded)) {
        m_pList->Model().SetNoneCharset(ReadString(m_store, settings::kNoneCharset));
        LoadColumns();
        FillRows();
        // The refilled rows come in collection order; the sort still stands.
        SortRows();
    }
}
