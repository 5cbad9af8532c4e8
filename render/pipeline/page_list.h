// The page list of job finishing: the sheet sides to print, in order, and
// on each side the pages it carries with their places.
//
// A sheet entry is the first page of a side; the other pages of the side
// are its sub-entries. Entries are never moved once made, so a pointer to
// one stays valid until the entry is deleted.
#pragma once

#include <cstdint>
#include <list>

#include "pipeline/fb_records.h"

enum FBPageListKind : uint32_t {
    kPageListPage = 0,   // a page, printed from its display list
    kPageListBlank = 1,  // a blank position (a booklet's missing pages)
};

struct FBPageListEntry {
    uint32_t kind = kPageListPage;
    uint32_t pageNumber = 0;  // 1-based; names the page's spool file
    uint32_t orientation = 0;
    uint32_t rowPosition = 0;  // base position of the page's display list
    uint32_t columnPosition = 0;
    uint16_t r0 = 0, c0 = 0, r1 = 0, c1 = 0;  // border rectangle on the sheet

    bool HasBorderRectangle() const { return r1 > r0 && c1 > c0; }
};

// One sheet side: its sheet entry first, then the sub-entries.
struct FBPageListSheet {
    std::list<FBPageListEntry> entries;

    FBPageListEntry& SheetEntry() { return entries.front(); }
    const FBPageListEntry& SheetEntry() const { return entries.front(); }
};

struct FBPageList {
    std::list<FBPageListSheet> sheets;
};

// Empties the list (FBPageListInit also makes it ready for use).
int FBPageListInit(FBPageList* list);
int FBPageListDelete(FBPageList* list);

// Appends a sheet whose entry takes the page number and orientation of
// `page` when one is given. Null when memory ran out.
FBPageListSheet* FBPageListAddPage(FBPageList* list, const FBPage* page);

// Appends an entry at the end of the sheet's sub-entries, taking the page
// number and orientation of `page` when one is given.
FBPageListEntry* FBPageListAddSubPage(FBPageListSheet* sheet, const FBPage* page);

// Reverses the order of the sheets (each keeps its sub-entries).
int FBPageListReverse(FBPageList* list);

// The sheets in order, for a plain walk: `for (auto& sheet : list->sheets)`.
inline bool FBPageListEmpty(const FBPageList* list) { return list == nullptr || list->sheets.empty(); }
