// Platform half of the clipboard's import beyond the one at start and on request: when the
// application comes back to the front, what another program copied meanwhile is taken in.
#pragma once

class FWClipboardPAC {
public:
    // Imports the system clipboard when it changed since the last import. Unchanged, it is left
    // alone, so what was cut or copied inside the application meanwhile stays on its clipboard.
    static void ImportIfChanged();
};
