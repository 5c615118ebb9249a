#pragma once

// The named images of the actions menu: its panel "menu-bg", the buttons "menu-button" and
// "menu-button-hightlight", and the icons "menu-calendaricon", "menu-jumpicon",
// "menu-searchicon" and "menu-settingsicon".
namespace MenuArtwork {

// Registers the images once; later calls do nothing. Main thread.
void registerImages();

} // namespace MenuArtwork
