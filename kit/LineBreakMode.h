#pragma once

// How text that does not fit its width is broken into lines or shortened.
enum class LineBreakMode {
    // Lines break between words; a word longer than a line breaks between characters.
    WordWrap,
    // Lines break between any two characters.
    CharacterWrap,
    // Lines break between words; the last line is cut off at the edge.
    Clip,
    // The last line keeps its end and shows an ellipsis at its start.
    HeadTruncation,
    // The last line keeps its start and shows an ellipsis at its end.
    TailTruncation,
    // The last line keeps its start and end and shows an ellipsis in between.
    MiddleTruncation,
};
