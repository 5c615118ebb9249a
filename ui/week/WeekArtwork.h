#pragma once

// The named images of the week screen's own frame: "fuzzy-transition", the blurred page shown
// between two weeks during a jump, and the actions button's icon.
namespace WeekArtwork {

// Registers the images once; later calls do nothing. Main thread.
void registerImages();

} // namespace WeekArtwork
