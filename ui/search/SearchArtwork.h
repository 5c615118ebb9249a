#pragma once

// The images of the search bar and its result bubble: "search-bg" (the bar's strip),
// "search-input-topbg" and "search-button-topbg" (the raised rims above the field and the
// arrows), "search-button-left" and "search-button-right" (the arrows), "search-input" and
// "search-icon" (the field and its magnifier) and "search-result-highlight" (the bubble).
namespace SearchArtwork {

// Registers the images once; later calls do nothing. Main thread.
void registerImages();

} // namespace SearchArtwork
