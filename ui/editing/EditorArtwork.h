#pragma once

// The named images of the event editor and its rows, beside the button faces of the editing
// screens (EditingArtwork, registered with these): the input face "edit-input-bg", the check boxes
// "edit-checkbox" and "edit-checkbox-selected", the five steps of the delete button's lid
// "edit-delete-icon-step1" to "edit-delete-icon-step5", and the red face of the delete rows, "delete-button".
namespace EditorArtwork {

// The faces are this high; their caps are 13 points wide.
constexpr double faceHeight = 35.0;
constexpr int lidSteps = 5;

// Registers the images once; later calls do nothing. Main thread.
void registerImages();

} // namespace EditorArtwork
