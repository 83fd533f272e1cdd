// Editing a 10,000-character field: a typed key, Backspace, a Shift-arrow and a click, each
// with its redraw, in a plain field and in a signed-real field holding digits. Each figure is
// also given as a ratio ("xFloor") to clearing the window's pixels with memset, measured in the
// same run.
#include "EditText.h"
#include "FWEvent.h"
#include "FWFont.h"
#include "FWViewMngr.h"
#include "FWWindow.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kLength = 10000;
constexpr int kWidth = 800;
constexpr int kHeight = 120;

// Nanoseconds of one memset over a window's worth of 32-bit pixels.
double floorNanoseconds()
{
    static double sFloor = [] {
        std::vector<uint32_t> pixels(size_t(kWidth) * kHeight);
        const int rounds = 2000;
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < rounds; ++i) {
            std::memset(pixels.data(), i & 0xFF, pixels.size() * sizeof(uint32_t));
            benchmark::DoNotOptimize(pixels.data());
            benchmark::ClobberMemory();
        }
        const auto end = std::chrono::steady_clock::now();
        return std::chrono::duration<double, std::nano>(end - start).count() / rounds;
    }();
    return sFloor;
}

struct Field {
    FWWindow window;
    EditText* field = new EditText;

    explicit Field(bool digits)
    {
        window.Initialize(nullptr, FWRect(20, 60, 20 + kWidth, 60 + kHeight));
        window.Show();
        field->Init(&window, FWRect(10, 10, kWidth - 20, 30), nullptr);
        window.ViewMngr().GetViewTree()->AppendChild(field);
        std::string text(kLength, 'x');
        if (digits) {
            field->Set(true, FWString::kSignedReal, false);
            for (int i = 0; i < kLength; ++i)
                text[size_t(i)] = char('0' + i % 10);
        }
        field->SetText(text.c_str());
        window.ViewMngr().SetKeyFocus(field);
    }
    void key(char c, uint16_t modifiers = 0)
    {
        FWEvent e(kKeyDownEvent, &window, modifiers);
        e.mMessage = uint8_t(c);
        field->KeyDownEvent(e);
    }
};

void report(benchmark::State& state, std::chrono::steady_clock::duration spent)
{
    const double perOp = std::chrono::duration<double, std::nano>(spent).count() / double(state.iterations());
    state.counters["xFloor"] = perOp / floorNanoseconds();
}

template <class Op>
void run(benchmark::State& state, bool digits, Op op)
{
    Field f(digits);
    f.field->SelectRange(kLength / 2, kLength / 2);
    std::chrono::steady_clock::duration spent{};
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        op(f);
        spent += std::chrono::steady_clock::now() - start;
    }
    report(state, spent);
}

// Typing a digit and taking it back keep the text at its length.
void BM_TypeKeyAndBackspace(benchmark::State& state)
{
    run(state, state.range(0) != 0, [](Field& f) {
        f.key('5');
        f.key(8);
    });
}
BENCHMARK(BM_TypeKeyAndBackspace)->Arg(0)->Arg(1);

void BM_ShiftArrow(benchmark::State& state)
{
    run(state, state.range(0) != 0, [](Field& f) {
        f.key(29, kFWShiftKey);
        f.key(28, kFWShiftKey);
    });
}
BENCHMARK(BM_ShiftArrow)->Arg(0)->Arg(1);

void BM_Click(benchmark::State& state)
{
    run(state, state.range(0) != 0, [](Field& f) {
        FWEvent e(kMouseDownEvent, &f.window, 0);
        e.mWhere = FWPoint(int16_t(f.field->GetTextRect().left + 200), int16_t(f.field->GetTextRect().top + 2));
        f.field->MouseDownEvent(e);
    });
}
BENCHMARK(BM_Click)->Arg(0)->Arg(1);

} // namespace
