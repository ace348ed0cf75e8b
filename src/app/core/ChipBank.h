#pragma once
// The state behind the sixteen colour chips: each chip's colour and lock, and which chip is current.
// Slot 0 is the hidden placeholder (txtToken) that is current until the first chip is selected; it
// behaves like a chip in every operation but is never shown and never reached by a chip number.
//
// The window owns the widgets and drives the sequences:
//   SelectChip(n):     const auto change = chips.selectChip(n); update the widgets of change.previous
//                      (sunken, its colour) and change.current (single border); SampleCurrentColor();
//                      RefreshDisplays(true)
//   SetChipLocked(on): chips.setChipLocked(on, ...) after, when locking, handing the chip's colour to
//                      the magnifier, whose DarkColor then picks the check mark's colour
//   ClearChips():      chips.clearChips([this](int n) { SelectChip(n); }), so every step still refreshes

#include "colormodel/TColor.h"

#include <array>
#include <functional>
#include <vector>

namespace tintara {

class ChipBank {
public:
    static constexpr int ChipCount = 16;
    static constexpr int TokenSlot = 0;

    struct Chip {
        TColor color = clWhite;
        bool locked = false;
        // Colour of the check mark, chosen when the chip was locked: white on a dark colour.
        TColor markColor = clBlack;
    };

    // What selectChip changed, so the window updates exactly these widgets.
    struct Selection {
        int previous = TokenSlot; // now sunken; its colour became white when it was unlocked
        int current = 1;          // now the current chip, with the single-line border
        bool previousWhitened = false;
    };

    // 2..16 give that chip; every other number (1, 0, negative, above 16) gives chip 1.
    static int ChipByIndex(int n);

    // The check mark's colour for a chip whose colour is dark (DarkColor) or not.
    static TColor checkMarkColor(bool darkColor) { return darkColor ? clWhite : clBlack; }

    // Whether ChipByIndex(n) is locked.
    bool IsChipLocked(int n) const;

    int current() const { return m_current; }
    const Chip& chip(int slot) const { return m_slots[index(slot)]; }
    const Chip& currentChip() const { return m_slots[index(m_current)]; }
    bool isCurrentLocked() const { return currentChip().locked; }
    TColor currentColor() const { return currentChip().color; }

    void setColor(int slot, TColor color) { m_slots[index(slot)].color = color; }
    void setCurrentColor(TColor color) { setColor(m_current, color); }

    // The state steps of SelectChip: an unlocked current chip turns white, then ChipByIndex(n)
    // becomes current. Selecting the current chip again runs the same steps.
    Selection selectChip(int n);

    // Locks the current chip with a check mark in the colour for `darkColor`, or unlocks it; the
    // colour stays until the next refresh writes it.
    void setChipLocked(bool locked, bool darkColor = false);

    // Locks an unlocked current chip, unlocks a locked one; returns the new lock state.
    bool toggleChipLock(bool darkColor = false);

    // For chips 1 to 16: select it, make it white, unlock it; then select chip 1. `windowSelectChip` is
    // the window's complete SelectChip, which must call this object's selectChip(n); without one
    // only the state steps run.
    void clearChips(const std::function<void(int)>& windowSelectChip = {});

    // The colours of the locked chips 1 to 16, in chip order (what a palette stores).
    std::vector<TColor> lockedColors() const;

private:
    static std::size_t index(int slot) { return slot >= 0 && slot <= ChipCount ? static_cast<std::size_t>(slot) : 0; }

    std::array<Chip, ChipCount + 1> m_slots{};
    int m_current = TokenSlot;
};

} // namespace tintara
