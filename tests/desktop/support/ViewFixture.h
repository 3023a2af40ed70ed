#pragma once

#include "ScriptedPrompts.h"
#include "TestSupport.h"

#include "collection/VarnexDoc.h"
#include "desktop/view/ReportListCtrl.h"
#include "desktop/view/VarnexView.h"
#include "settings/MemorySettingsStore.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

// A report view over its own document, settings in memory and scripted
// prompts, created and shown as the frame would; every scripted answer must
// be used by the end of the test.
class ViewFixture : public testing::Test
{
protected:
    void SetUp() override { OpenView(); }
    void TearDown() override
    {
        CloseView();
        prompts.ExpectAllUsed();
    }

    void OpenView()
    {
        view = std::make_unique<CVarnexView>(doc, store, prompts);
        ASSERT_TRUE(view->Create());
        doc.AddView(view.get());
        // The frame adds the files of a drop on the list; here they are kept.
        QObject::connect(view.get(), &CVarnexView::FilesDropped,
                         [this](const std::vector<std::string>& paths) { dropped.push_back(paths); });
        view->resize(640, 400);
        view->show();
    }
    void CloseView()
    {
        if (!view)
            return;
        doc.RemoveView(view.get());
        view->Destroy();
        view.reset();
    }

    CReportListCtrl& List() { return *view->ListCtrl(); }

    CTempDir dir;
    CMemorySettingsStore store;
    CScriptedPrompts prompts;
    CVarnexDoc doc;
    std::unique_ptr<CVarnexView> view;
    // The paths of each file drop on the list, in order.
    std::vector<std::vector<std::string>> dropped;
};
