#include "collection/PropertyTable.h"

void CPropertyTable::Set(std::string_view id, std::string_view value)
{
    for (Item& item : m_items) {
        if (item.first == id) {
            item.second.assign(value);
            return;
        }
    }
    m_items.emplace_back(std::string(id), std::string(value));
}

const std::string* CPropertyTable::Find(std::string_view id) const
{
    for (const Item& item : m_items) {
        if (item.first == id)
            return &item.second;
    }
    return nullptr;
}
