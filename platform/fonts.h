// The faces the windows ask for by their Windows names ("ＭＳ 明朝", "ＭＳ Ｐゴシック", …) are
// mapped onto the Japanese Noto faces, so that they render as Mincho and Gothic under any LANG.
#pragma once

namespace platform {

// Call once before any font is resolved.
void InstallJapaneseFontSubstitutions();

}  // namespace platform
