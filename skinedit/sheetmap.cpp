#include "skinedit/sheetmap.h"

const PageSpec kPages[kPageCount] = {
    {"Window", kWindowPageDialog},   {"Tree", kTreePageDialog},     {"Close", kButtonPageDialog},
    {"Lists", kButtonPageDialog},    {"Active", kButtonPageDialog}, {"Done", kButtonPageDialog},
    {"Calendar", kButtonPageDialog},
};

// Written out row by row, as the pages lay them out: a table read at a
// glance beats one computed.
const SheetPlace kFieldMap[kSkinValueCount] = {
    // Window: width, height, corner radius, title bar, text and back colours.
    {0, 201},
    {0, 202},
    {0, 203},
    {0, 204},
    {0, 205},
    {0, 206},
    {0, 207},
    {0, 208},
    {0, 209},
    {0, 210},
    // Tree, then the five buttons: left, right, top, bottom.
    {1, 211},
    {1, 212},
    {1, 213},
    {1, 214},  //
    {2, 211},
    {2, 212},
    {2, 213},
    {2, 214},  //
    {3, 211},
    {3, 212},
    {3, 213},
    {3, 214},  //
    {4, 211},
    {4, 212},
    {4, 213},
    {4, 214},  //
    {5, 211},
    {5, 212},
    {5, 213},
    {5, 214},  //
    {6, 211},
    {6, 212},
    {6, 213},
    {6, 214},
};

const SheetPlace kSlotMap[kSkinSlotCount] = {
    // Window background; the tree's empty and checked boxes and background.
    {0, 251},
    {1, 253},
    {1, 255},
    {1, 257},
    // Each button: normal, hover, selected.
    {2, 259},
    {2, 261},
    {2, 263},  //
    {3, 259},
    {3, 261},
    {3, 263},  //
    {4, 259},
    {4, 261},
    {4, 263},  //
    {5, 259},
    {5, 261},
    {5, 263},  //
    {6, 259},
    {6, 261},
    {6, 263},
};
