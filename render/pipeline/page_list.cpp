#include "pipeline/page_list.h"

#include <new>

namespace {

FBPageListEntry EntryFor(const FBPage* page) {
    FBPageListEntry entry;
    if (page != nullptr) {
        entry.pageNumber = page->pageNumber;
        entry.orientation = page->orientation;
    }
    return entry;
}

}  // namespace

int FBPageListInit(FBPageList* list) { return FBPageListDelete(list); }

int FBPageListDelete(FBPageList* list) {
    if (list == nullptr) return 0;
    list->sheets.clear();
    return 1;
}

FBPageListSheet* FBPageListAddPage(FBPageList* list, const FBPage* page) {
    if (list == nullptr) return nullptr;
    try {
        FBPageListSheet sheet;
        sheet.entries.push_back(EntryFor(page));
        list->sheets.push_back(std::move(sheet));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return &list->sheets.back();
}

FBPageListEntry* FBPageListAddSubPage(FBPageListSheet* sheet, const FBPage* page) {
    if (sheet == nullptr) return nullptr;
    try {
        sheet->entries.push_back(EntryFor(page));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return &sheet->entries.back();
}

int FBPageListReverse(FBPageList* list) {
    if (list == nullptr) return 0;
    list->sheets.reverse();
    return 1;
}
