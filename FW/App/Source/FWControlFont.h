// The font a control lays its text out in: its window's, else the application's front window's,
// else the default font.
#pragma once

class FWFont;
class FWView;

const FWFont& FWControlFont(const FWView& view);
