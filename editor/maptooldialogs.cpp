// The shift and swap dialogs' input rules and their OK actions on TheMap.
#include "editor/maptooldialogs.h"

#include "editor/global.h"
#include "editor/texts.h"
#include "editor/windows.h"
#include "map/mapclass.h"
#include "map/maperror.h"
#include "map/maptools.h"
#include "map/parseint.h"

#include <algorithm>

namespace quarvel {

bool ShiftKeyAllowed(int ch) {
    return ch == 8 || ch == '-' || (ch >= '0' && ch <= '9');
}

int StrToInt(const std::string& text) {
    int value = 0;
    if (ParseDecimalInt(text, value, true) != IntParse::Ok)
        throw QuarvelError(Arg(Tr("MapToolDialogs", "'%1' は整数ではありません"), {text}));
    return value;
}

int ShiftDialogOk(TEditorState& State, const std::string& e1, const std::string& e2,
                  const std::string& e3) {
    const int dx = StrToInt(e1);
    const int dy = StrToInt(e2);
    const int dz = StrToInt(e3);
    // Any offset beyond the map's size empties it; clamping keeps x - dx in range.
    auto clamp = [](int d) { return std::clamp(d, -TMap::SizeZ, TMap::SizeZ); };
    return ShiftMap(*State.TheMap, clamp(dx), clamp(dy), clamp(dz)) ? mrOk : mrCancel;
}

int SwapDialogOk(TEditorState& State, int a, int b) {
    if (a < 0 || a > 3 || b < 0 || b > 3) return mrCancel; // not a country of the lists
    return SwapCountries(*State.TheMap, a, b) ? mrOk : mrCancel;
}

} // namespace quarvel
