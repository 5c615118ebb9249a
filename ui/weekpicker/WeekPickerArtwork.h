#pragma once

// The week picker's named images: "weekpicker-currentdaycircle" and its white twin, the ring
// around today's number, and "selected-row", the dark band of the selected week.
namespace WeekPickerArtwork {

// Registers the images once; later calls do nothing. Main thread.
void registerImages();

} // namespace WeekPickerArtwork
