#pragma once

// The images of copying and moving: "copy-top-bar" and "move-top-bar", the backgrounds of the
// bar that asks for the target day, 320 by 30 points.
namespace CopyMoveArtwork {

// Registers the images once; later calls do nothing. Main thread.
void registerImages();

} // namespace CopyMoveArtwork
