#pragma once

// The images of the colour picker: "colorpicker-trackerbackground" (the shade over a slider's
// track), "colorpicker-previewbackground" (behind the sample day) and
// "colorpicker-speechballoon" (the panel around the sliders).
namespace ColorPickerArtwork {

// Registers the images once; later calls do nothing.
void registerImages();

} // namespace ColorPickerArtwork
