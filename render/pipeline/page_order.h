// Page order finishing: the sheets in reverse, or only the odd or only the
// even pages (settings offset 1360).
#pragma once

#include <cstdint>

#include "pipeline/page_list.h"

enum FBPageOrderKind : uint32_t {
    kPageOrderNormal = 0,
    kPageOrderReverse = 1,
    kPageOrderOddPages = 2,
    kPageOrderEvenPages = 3,
};

// Whether page `pageNumber` (1-based) prints under the order: odd pages
// only and even pages only drop the others; any other order keeps all.
bool FBPageOrderKeeps(uint32_t order, uint32_t pageNumber);

// Applies the order to a finished list: reverse turns the sheets round; odd
// pages keeps the 1st, 3rd, ... sheet, even pages the 2nd, 4th, ... . An
// unknown order leaves the list as it is.
int FBJFProcessPageOrder(FBPageList* list, uint32_t order);
