#pragma once

#include "collection/DuplicateFinder.h"

class CDesktopDocHost;
class CVarnexDoc;
class CVarnexView;

// Find Duplicates: reads the games of the collection's files with the
// progress and the Cancel of a batch in the status bar, the window
// answering meanwhile, then puts the view into its duplicates view. The
// keys it read stay for the next search while the program runs.
class CDuplicateSearch
{
public:
    CDuplicateSearch(CVarnexDoc& doc, CDesktopDocHost& host) : m_doc(doc), m_host(host) {}

    // False when it was stopped or could not start; the view is left as it was then.
    bool Run(CVarnexView& view);
    bool IsRunning() const { return m_running; }
    const CDuplicateFinder& Finder() const { return m_finder; }

private:
    CVarnexDoc& m_doc;
    CDesktopDocHost& m_host;
    CDuplicateFinder m_finder;
    bool m_running = false;
};
