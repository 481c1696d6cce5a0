// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/pictures/displaylist.h"

#include <algorithm>
#include <numeric>

void DisplayList::add(DrawItem item) {
    m_widestPen = std::max(m_widestPen, item.penWidth);
    m_items.push_back(std::move(item));
}

void DisplayList::seal() {
    m_byLeft.resize(m_items.size());
    std::iota(m_byLeft.begin(), m_byLeft.end(), 0u);
    std::stable_sort(m_byLeft.begin(), m_byLeft.end(), [this](std::uint32_t a, std::uint32_t b) {
        return m_items[a].bounds.left() < m_items[b].bounds.left();
    });
    m_lefts.clear();
    m_widestItem = 0;
    for (std::uint32_t i : m_byLeft) {
        m_lefts.push_back(m_items[i].bounds.left());
        m_widestItem = std::max(m_widestItem, m_items[i].bounds.width());
    }
}

std::vector<std::uint32_t> DisplayList::itemsMeeting(const QRectF& area) const {
    std::vector<std::uint32_t> hits;
    // No item starting further left than this can reach the area.
    const auto first = std::lower_bound(m_lefts.begin(), m_lefts.end(), area.left() - m_widestItem);
    const auto last = std::upper_bound(first, m_lefts.end(), area.right());
    for (auto it = first; it != last; ++it) {
        const std::uint32_t i = m_byLeft[static_cast<std::size_t>(it - m_lefts.begin())];
        const QRectF& b = m_items[i].bounds;
        if (b.right() >= area.left() && b.bottom() >= area.top() && b.top() <= area.bottom()) {
            hits.push_back(i);
        }
    }
    std::sort(hits.begin(), hits.end());
    return hits;
}
