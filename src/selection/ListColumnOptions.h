#pragma once
// Which of the list's optional columns the user wants to see: the ten check
// boxes of the options window's column page, with the values they start with.
// The list window reads them to decide which columns count as hidden.
#include <array>

class ListColumnOptions {
public:
    // The boxes in the order of the list columns 4 to 13.
    enum Box {
        chkWortart,
        chkGrammatikalischeAttribute,
        chkFunktionaleAttribute,
        chkBereich,
        chkBeispielsatz,
        chkZusatzinfo,
        chkQuelle,
        chkEingabedatum,
        chkAenderungsdatum,
        chkScore,
        Count
    };
    static constexpr int kFirstColumn = 4; // the list column of chkWortart

    static ListColumnOptions& instance();

    bool checked(Box box) const { return m_checked[box]; }
    void setChecked(Box box, bool on) { m_checked[box] = on; }
    // Back to the values the boxes have when the options window is loaded.
    void reset();

private:
    ListColumnOptions() { reset(); }
    std::array<bool, Count> m_checked{};
};
