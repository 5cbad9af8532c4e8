#include "pipeline/page_order.h"

bool FBPageOrderKeeps(uint32_t order, uint32_t pageNumber) {
    if (order == kPageOrderOddPages) return (pageNumber & 1) != 0;
    if (order == kPageOrderEvenPages) return (pageNumber & 1) == 0;
    return true;
}

int FBJFProcessPageOrder(FBPageList* list, uint32_t order) {
    if (list == nullptr) return 0;
    if (order == kPageOrderReverse) return FBPageListReverse(list);
    if (order != kPageOrderOddPages && order != kPageOrderEvenPages) return 1;
    uint32_t position = 1;
    for (auto sheet = list->sheets.begin(); sheet != list->sheets.end(); ++position) {
        if (FBPageOrderKeeps(order, position)) {
            ++sheet;
        } else {
            sheet = list->sheets.erase(sheet);
        }
    }
    return 1;
}
