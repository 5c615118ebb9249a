#pragma once

// The named images of the week screen's own frame: "fuzzy-transition", the blurred page shown
// between two weeks during a jump, and the actions button's icon.
namespace WeekArtwork {

// The size of a week page, which the blurred page covers whole.
constexpr double pageWidth = 320.0;
constexpr double pageHeight = 416.0;

// Registers the images once; later calls do nothing. Main thread.
void registerImages();

} // namespace WeekArtwork
