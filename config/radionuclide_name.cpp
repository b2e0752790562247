#include "config/radionuclide_name.h"

#include <algorithm>
#include <array>

#include "config/ini_document.h"

namespace talveron {

namespace {

// The symbols of the elements, by atomic number.
constexpr std::array<std::string_view, 118> kElementSymbols{
    "H",  "He", "Li", "Be", "B",  "C",  "N",  "O",  "F",  "Ne", "Na", "Mg", "Al", "Si", "P",
    "S",  "Cl", "Ar", "K",  "Ca", "Sc", "Ti", "V",  "Cr", "Mn", "Fe", "Co", "Ni", "Cu", "Zn",
    "Ga", "Ge", "As", "Se", "Br", "Kr", "Rb", "Sr", "Y",  "Zr", "Nb", "Mo", "Tc", "Ru", "Rh",
    "Pd", "Ag", "Cd", "In", "Sn", "Sb", "Te", "I",  "Xe", "Cs", "Ba", "La", "Ce", "Pr", "Nd",
    "Pm", "Sm", "Eu", "Gd", "Tb", "Dy", "Ho", "Er", "Tm", "Yb", "Lu", "Hf", "Ta", "W",  "Re",
    "Os", "Ir", "Pt", "Au", "Hg", "Tl", "Pb", "Bi", "Po", "At", "Rn", "Fr", "Ra", "Ac", "Th",
    "Pa", "U",  "Np", "Pu", "Am", "Cm", "Bk", "Cf", "Es", "Fm", "Md", "No", "Lr", "Rf", "Db",
    "Sg", "Bh", "Hs", "Mt", "Ds", "Rg", "Cn", "Nh", "Fl", "Mc", "Lv", "Ts", "Og"};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsElementSymbol(std::string_view text) {
    const std::string folded = FoldCase(text);
    return std::any_of(kElementSymbols.begin(), kElementSymbols.end(),
                       [&](std::string_view symbol) { return FoldCase(symbol) == folded; });
}

bool IsMassNumber(std::string_view text) {
    return !text.empty() && text.size() <= 3 && text.front() != '0' &&
           std::all_of(text.begin(), text.end(), IsDigit);
}

}  // namespace

bool IsRadionuclideName(std::string_view text) {
    const std::size_t hyphen = text.find('-');
    if (hyphen == std::string_view::npos || !IsElementSymbol(text.substr(0, hyphen))) return false;
    std::string_view mass = text.substr(hyphen + 1);
    if (!mass.empty() && (mass.back() == 'm' || mass.back() == 'M')) mass.remove_suffix(1);
    return IsMassNumber(mass);
}

}  // namespace talveron
