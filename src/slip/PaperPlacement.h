#pragma once
// Where the pre-printed slip is fed into the printer; None until the user chooses one.

enum class PaperPlacement { None, Left, Centre, Right };
