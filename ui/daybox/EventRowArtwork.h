#pragma once

// The images of event rows: "selected-row", "birthday" and "highlighted-birthday".
namespace EventRowArtwork {

// Registers the images once; later calls do nothing.
void registerImages();

} // namespace EventRowArtwork
