#pragma once

// The management window's pages, numbered by their place from 0; a page
// whose tab is hidden still counts. The sender refreshes pages by number.
inline constexpr int PageCount = 7;

inline bool IsPageNumber(int page) { return page >= 0 && page < PageCount; }
