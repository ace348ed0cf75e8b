#include "app/core/ChipBank.h"

namespace tintara {

int ChipBank::ChipByIndex(int n)
{
    return n >= 2 && n <= ChipCount ? n : 1;
}

bool ChipBank::IsChipLocked(int n) const
{
    return chip(ChipByIndex(n)).locked;
}

ChipBank::Selection ChipBank::selectChip(int n)
{
    Selection change;
    change.previous = m_current;
    Chip& old = m_slots[index(m_current)];
    if (!old.locked) {
        old.color = clWhite;
        change.previousWhitened = true;
    }
    m_current = ChipByIndex(n);
    change.current = m_current;
    return change;
}

void ChipBank::setChipLocked(bool locked, bool darkColor)
{
    Chip& c = m_slots[index(m_current)];
    c.locked = locked;
    if (locked)
        c.markColor = checkMarkColor(darkColor);
}

bool ChipBank::toggleChipLock(bool darkColor)
{
    setChipLocked(!isCurrentLocked(), darkColor);
    return isCurrentLocked();
}

void ChipBank::clearChips(const std::function<void(int)>& windowSelectChip)
{
    auto select = [&](int n) {
        if (windowSelectChip)
            windowSelectChip(n);
        else
            selectChip(n);
    };
    for (int n = 1; n <= ChipCount; ++n) {
        select(n);
        setCurrentColor(clWhite);
        setChipLocked(false);
    }
    select(1);
}

std::vector<TColor> ChipBank::lockedColors() const
{
    std::vector<TColor> colors;
    for (int n = 1; n <= ChipCount; ++n)
        if (chip(n).locked)
            colors.push_back(chip(n).color);
    return colors;
}

} // namespace tintara
