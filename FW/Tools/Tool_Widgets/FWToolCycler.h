// Remembers the widget clicked last (successfully); a widget that goes clears the record.
#pragma once

class FWToolWidget;

class FWToolCycler {
public:
    static void SetLastWidgetClicked(FWToolWidget* widget) { sLastWidget = widget; }
    static FWToolWidget* GetLastWidgetClicked() { return sLastWidget; }

private:
    static inline FWToolWidget* sLastWidget = nullptr;
};
