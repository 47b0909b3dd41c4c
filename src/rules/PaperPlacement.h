#pragma once
// Where the slip is fed into the printer: at the left, in the centre, at the right, or not
// chosen at all (the alignment file may name none).
enum class PaperPlacement { None, Left, Centre, Right };
