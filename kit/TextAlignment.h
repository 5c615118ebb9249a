#pragma once

// The horizontal placement of each line of text within its rectangle.
enum class TextAlignment { Left, Center, Right };
