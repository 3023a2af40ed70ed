// Loads arbitrary bytes as a collection file. The paths it names are read
// like any game file, so inputs that could name a device or a kernel file
// (where a read may block or never end) are left out.
#include "collection/CollectionFile.h"
#include "collection/VarnexDoc.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

namespace {

bool MayNameASpecialFile(std::string_view bytes)
{
    for (const char* word : {"dev", "proc", "sys"}) {
        const std::string narrow(word);
        std::string wide;
        for (char c : narrow) {
            wide.push_back(c);
            wide.push_back('\0');
        }
        if (bytes.find(narrow) != std::string_view::npos || bytes.find(wide) != std::string_view::npos)
            return true;
    }
    return false;
}

class CCountingView : public IDocView
{
public:
    void OnUpdate(int hint, const CHintPayload& payload) override
    {
        if (hint == hintFileAdded && payload.path)
            added += payload.path->size();
    }
    std::size_t added = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (MayNameASpecialFile(bytes))
        return -1;

    IDocHost host;
    CVarnexDoc doc(host);
    CCountingView view;
    doc.AddView(&view);
    if (LoadCollection(doc, bytes)) {
        // What was loaded stores again without trouble.
        const std::string stored = StoreCollection(doc);
        CVarnexDoc again(host);
        if (!LoadCollection(again, stored) || again.m_mapFiles.size() > doc.m_mapFiles.size())
            __builtin_trap();
    }
    doc.DeleteContents();
    return 0;
}
