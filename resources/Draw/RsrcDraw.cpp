// rsrcdraw FOLDER: draws the images of the programs' resources as PNG files into FOLDER.
// rsrcdraw --sheet FOLDER OUTPUT [SCALE]: lays every PNG of FOLDER out, enlarged, on one
// checkered sheet, for looking the images over.
#include "Canvas.h"
#include "HostPNG.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace Shape;

namespace {

// The palette: the window frame's lavender and its darker accents, ink, and signal colours.
constexpr uint32_t kInk = HostArgb(255, 51, 51, 51);
constexpr uint32_t kBlack = HostArgb(255, 0, 0, 0);
constexpr uint32_t kWhite = HostArgb(255, 255, 255, 255);
constexpr uint32_t kGrey = HostArgb(255, 153, 153, 153);
constexpr uint32_t kLightGrey = HostArgb(255, 221, 221, 221);
constexpr uint32_t kPaleGrey = HostArgb(255, 238, 238, 238);
constexpr uint32_t kLavender = HostArgb(255, 178, 163, 224);
constexpr uint32_t kPaleLavender = HostArgb(255, 238, 234, 250);
constexpr uint32_t kAccent = HostArgb(255, 104, 80, 176);
constexpr uint32_t kDeepAccent = HostArgb(255, 64, 44, 124);
constexpr uint32_t kRed = HostArgb(255, 204, 46, 38);
constexpr uint32_t kDeepRed = HostArgb(255, 130, 18, 14);
constexpr uint32_t kGreen = HostArgb(255, 46, 150, 70);
constexpr uint32_t kYellow = HostArgb(255, 252, 204, 44);
constexpr uint32_t kAmber = HostArgb(255, 168, 112, 0);
constexpr uint32_t kSky = HostArgb(255, 120, 170, 230);
constexpr uint32_t kPaleSky = HostArgb(255, 206, 228, 250);
constexpr uint32_t kGrass = HostArgb(255, 86, 160, 72);
constexpr uint32_t kDeepGrass = HostArgb(255, 48, 110, 48);

std::filesystem::path gFolder;
int gFailures = 0;

void save(const Canvas& canvas, const std::string& name)
{
    std::string path = (gFolder / name).string();
    if (OSErr err = canvas.Save(path); err != noErr) {
        std::fprintf(stderr, "rsrcdraw: cannot write %s (error %d)\n", path.c_str(), int(err));
        ++gFailures;
    }
}

// A shape with a border: the region filled with the border colour, its inset with the paint.
void outlined(Canvas& c, double l, double t, double r, double b, double radius, const Canvas::Paint& fill,
              uint32_t border, double width = 1.0)
{
    c.Fill(RoundBox(l, t, r, b, radius), border);
    c.Fill(RoundBox(l + width, t + width, r - width, b - width, std::max(0.0, radius - width)), fill);
}

// A triangle pointing along angle (radians, 0 to the right, clockwise on screen) about (cx, cy).
Region arrowHead(double cx, double cy, double angle, double length, double halfBase)
{
    double dx = std::cos(angle);
    double dy = std::sin(angle);
    double back = length * 0.4;
    double front = length * 0.6;
    return Polygon({{cx + dx * front, cy + dy * front},
                    {cx - dx * back - dy * halfBase, cy - dy * back + dx * halfBase},
                    {cx - dx * back + dy * halfBase, cy - dy * back - dx * halfBase}});
}

Region checkMark(double l, double t, double size, double halfWidth)
{
    return Polyline({{l + size * 0.12, t + size * 0.55}, {l + size * 0.4, t + size * 0.82}, {l + size * 0.88, t + size * 0.18}},
                    halfWidth);
}

Region cross(double l, double t, double size, double halfWidth)
{
    return Union(Stroke(l, t, l + size, t + size, halfWidth), Stroke(l + size, t, l, t + size, halfWidth));
}

// Window title-bar boxes: a rounded box with a symbol, light when up and dark when pressed.
enum class Symbol { Close, Popup, Zoom, Modal };

void titleBox(const std::string& name, int size, Symbol kind, bool pressed)
{
    Canvas c(size, size);
    const double s = size;
    const double radius = size > 10 ? 3 : 2;
    Canvas::Paint fill = pressed ? Gradient(0, 0, kAccent, 0, s, kDeepAccent) : Gradient(0, 0, kWhite, 0, s, kPaleLavender);
    outlined(c, 0, 0, s, s, radius, fill, kDeepAccent);
    const uint32_t ink = pressed ? kWhite : kDeepAccent;
    const double m = s * 0.3; // symbol margin
    switch (kind) {
    case Symbol::Close:
        c.Fill(cross(m, m, s - 2 * m, s > 10 ? 0.85 : 0.7), ink);
        break;
    case Symbol::Popup:
        c.Fill(arrowHead(s / 2, s / 2 + 0.3, M_PI / 2, s * 0.45, s * 0.28), ink);
        break;
    case Symbol::Zoom:
        c.Fill(Border(m - 0.5, m - 0.5, s - m + 0.5, s - m + 0.5, 0, s > 10 ? 1.3 : 1.0), ink);
        break;
    case Symbol::Modal:
        c.Fill(Disc(s / 2, s / 2, s * 0.2), ink);
        break;
    }
    save(c, name);
}

void drawTitleBoxes()
{
    const struct {
        const char* name;
        Symbol kind;
    } kinds[] = {{"close", Symbol::Close}, {"popup", Symbol::Popup}, {"zoom", Symbol::Zoom}};
    for (const auto& k : kinds) {
        titleBox(std::string(k.name) + ".png", 13, k.kind, false);
        titleBox(std::string(k.name) + "-pressed.png", 13, k.kind, true);
        titleBox(std::string(k.name) + "-mini.png", 9, k.kind, false);
        titleBox(std::string(k.name) + "-mini-pressed.png", 9, k.kind, true);
    }
    titleBox("modal.png", 13, Symbol::Modal, false);
    titleBox("modal-pressed.png", 13, Symbol::Modal, true);
}

// A framed landscape: the stand-in picture and the picture-box icon.
void landscape(Canvas& c, double l, double t, double r, double b)
{
    const double w = r - l;
    const double h = b - t;
    c.Fill(Box(l, t, r, b), kInk);
    c.Fill(Box(l + 1, t + 1, r - 1, b - 1), Gradient(0, t, kSky, 0, b, kPaleSky));
    Region inside = Box(l + 1, t + 1, r - 1, b - 1);
    c.Fill(Intersect(inside, Disc(l + w * 0.72, t + h * 0.3, h * 0.14)), kYellow);
    c.Fill(Intersect(inside, Disc(l + w * 0.25, b + h * 0.55, h * 0.95)), kDeepGrass);
    c.Fill(Intersect(inside, Disc(l + w * 0.8, b + h * 0.75, h * 1.0)), kGrass);
}

void drawPictures()
{
    Canvas picture(32, 32);
    landscape(picture, 1, 4, 31, 28);
    save(picture, "default-picture.png");
}

void drawButtonIcons()
{
    Canvas cancel(12, 12);
    cancel.Fill(Disc(6, 6, 5.6), kRed);
    cancel.Fill(cross(3.7, 3.7, 4.6, 0.8), kWhite);
    save(cancel, "cancel.png");

    Canvas ok(12, 12);
    ok.Fill(Disc(6, 6, 5.6), kGreen);
    ok.Fill(checkMark(2.3, 2.4, 7.4, 0.8), kWhite);
    save(ok, "ok.png");
}

void exclamation(Canvas& c, double cx, double top, double bottom, uint32_t ink)
{
    c.Fill(Stroke(cx, top, cx, bottom - 5.5, 1.6), ink);
    c.Fill(Disc(cx, bottom - 1.8, 1.8), ink);
}

std::vector<Point2> regularPolygon(double cx, double cy, double radius, int sides, double turn)
{
    std::vector<Point2> points;
    for (int i = 0; i < sides; ++i) {
        double a = turn + 2 * M_PI * i / sides;
        points.push_back({cx + radius * std::cos(a), cy + radius * std::sin(a)});
    }
    return points;
}

// The quill of the application icon: a vane along a shaft from the nib up to the right.
void quill(Canvas& c, double nibX, double nibY, double tipX, double tipY)
{
    const double dx = tipX - nibX;
    const double dy = tipY - nibY;
    const double length = std::hypot(dx, dy);
    const double nx = -dy / length;
    const double ny = dx / length;
    std::vector<Point2> vane;
    const int steps = 24;
    for (int i = 0; i <= steps; ++i) { // one side from the vane's foot to the tip
        double t = 0.3 + 0.7 * i / steps;
        double width = 4.2 * std::sin(M_PI * (t - 0.3) / 0.7) * (t < 0.75 ? 1.0 : 0.9);
        vane.push_back({nibX + dx * t + nx * width, nibY + dy * t + ny * width});
    }
    for (int i = steps; i >= 0; --i) { // and back along the narrower side
        double t = 0.3 + 0.7 * i / steps;
        double width = 2.2 * std::sin(M_PI * (t - 0.3) / 0.7);
        vane.push_back({nibX + dx * t - nx * width, nibY + dy * t - ny * width});
    }
    c.Fill(Polygon(vane), Gradient(nibX, nibY, kDeepAccent, tipX, tipY, kLavender));
    c.Fill(Stroke(nibX, nibY, nibX + dx * 0.97, nibY + dy * 0.97, 0.5), kDeepAccent);
    c.Fill(Polygon({{nibX - 0.5, nibY + 0.8}, {nibX + dx * 0.12 + nx, nibY + dy * 0.12 + ny},
                    {nibX + dx * 0.12 - nx, nibY + dy * 0.12 - ny}}),
           kInk);
}

void drawAlertIcons()
{
    Canvas caution(32, 32);
    caution.Fill(Polygon({{16, 1}, {31.5, 29.5}, {0.5, 29.5}}), kAmber);
    caution.Fill(Polygon({{16, 4.3}, {28.8, 28}, {3.2, 28}}), Gradient(0, 4, HostArgb(255, 255, 232, 130), 0, 28, kYellow));
    exclamation(caution, 16, 11, 26, kBlack);
    save(caution, "caution.png");

    Canvas stop(32, 32);
    stop.Fill(Polygon(regularPolygon(16, 16, 15.8, 8, M_PI / 8)), kDeepRed);
    stop.Fill(Polygon(regularPolygon(16, 16, 14.6, 8, M_PI / 8)), kWhite);
    stop.Fill(Polygon(regularPolygon(16, 16, 13.2, 8, M_PI / 8)), Gradient(0, 3, HostArgb(255, 232, 80, 64), 0, 29, kDeepRed));
    exclamation(stop, 16, 7.5, 25, kWhite);
    save(stop, "stop.png");

    Canvas app(32, 32);
    std::vector<Point2> page = {{5, 2}, {21, 2}, {27, 8}, {27, 30}, {5, 30}};
    app.Fill(Polygon(page), kInk);
    app.Fill(Polygon({{6, 3}, {20.6, 3}, {26, 8.4}, {26, 29}, {6, 29}}), Gradient(0, 3, kWhite, 0, 29, kPaleGrey));
    app.Fill(Polygon({{20.5, 2.5}, {26.5, 8.5}, {20.5, 8.5}}), kLightGrey);
    app.Fill(Polyline({{20.5, 2.5}, {20.5, 8.5}, {26.5, 8.5}}, 0.5), kGrey);
    for (int line = 0; line < 5; ++line) {
        double y = 12.5 + 3.2 * line;
        app.Fill(Stroke(9, y, line == 4 ? 15 : 22, y, 0.6), kGrey);
    }
    quill(app, 8.5, 28, 29, 3);
    save(app, "application.png");
}

void drawPopupArrow()
{
    Canvas c(11, 14);
    outlined(c, 0, 0, 11, 14, 2.5, Gradient(0, 0, kLavender, 0, 14, kAccent), kDeepAccent);
    c.Fill(arrowHead(5.5, 4.6, -M_PI / 2, 3.6, 2.6), kWhite);
    c.Fill(arrowHead(5.5, 9.4, M_PI / 2, 3.6, 2.6), kWhite);
    save(c, "popup-arrow.png");
}

void twistArrow(const std::string& name, double angle, uint32_t colour)
{
    Canvas c(12, 12);
    c.Fill(arrowHead(6, 6, angle, 8, 4.3), colour);
    save(c, name);
}

void drawOutlineImages()
{
    const uint32_t arrow = HostArgb(255, 96, 96, 96);
    twistArrow("twist-open.png", M_PI / 2, arrow);
    twistArrow("twist-closed.png", 0, arrow);
    twistArrow("twist-open-pressed.png", M_PI / 2, kDeepAccent);
    twistArrow("twist-closed-pressed.png", 0, kDeepAccent);
    twistArrow("twist-half.png", M_PI / 4, kDeepAccent);

    Canvas lock(11, 11);
    lock.Fill(Minus(Intersect(Disc(5.5, 4.2, 3.3), Box(0, 0, 11, 5)), Disc(5.5, 4.2, 2.0)), kInk);
    lock.Fill(Box(2.2, 4, 3.5, 5.5), kInk);
    lock.Fill(Box(7.5, 4, 8.8, 5.5), kInk);
    outlined(lock, 1, 5, 10, 11, 1, Gradient(0, 5, kYellow, 0, 11, kAmber), kInk);
    lock.Fill(Stroke(5.5, 7.2, 5.5, 8.6, 0.6), kInk);
    save(lock, "locked.png");

    Canvas eye(11, 11);
    eye.Fill(Intersect(Disc(5.5, 9.5, 7), Disc(5.5, 1.5, 7)), kInk);
    eye.Fill(Intersect(Disc(5.5, 9.5, 6), Disc(5.5, 1.5, 6)), kWhite);
    eye.Fill(Disc(5.5, 5.5, 2.2), kInk);
    eye.Fill(Disc(4.8, 4.8, 0.7), kWhite);
    save(eye, "visible.png");

    Canvas active(11, 11);
    active.Fill(Disc(5.5, 5.5, 3.6), kDeepAccent);
    active.Fill(Disc(5.5, 5.5, 2.6), Gradient(3, 3, kLavender, 8, 8, kAccent));
    save(active, "active.png");
}

void radio(const std::string& name, uint32_t border, const Canvas::Paint& fill, bool dot, uint32_t dotColour = kInk)
{
    Canvas c(12, 12);
    c.Fill(Disc(6, 6, 5.8), border);
    c.Fill(Disc(6, 6, 4.8), fill);
    if (dot)
        c.Fill(Disc(6, 6, 2.2), dotColour);
    save(c, name);
}

void drawChecksAndRadios()
{
    radio("radio-on.png", kInk, Gradient(0, 1, kWhite, 0, 11, kLightGrey), true);
    radio("radio-off.png", kInk, Gradient(0, 1, kWhite, 0, 11, kLightGrey), false);
    radio("radio-pressed.png", kInk, Gradient(0, 1, kGrey, 0, 11, HostArgb(255, 190, 190, 190)), false);
    radio("radio-ghosted.png", kGrey, [](double, double) { return kPaleGrey; }, false);

    Canvas check(8, 8);
    check.Fill(checkMark(0.3, 0.6, 7.2, 0.85), kBlack);
    save(check, "check.png");

    Canvas mixed(8, 8);
    mixed.Fill(Stroke(1.6, 4, 6.4, 4, 0.9), kBlack);
    save(mixed, "check-mixed.png");
}

// Resize handles: a grip tile, and an edge with a double arrow for each single edge.
void edgeHandle(const std::string& name, bool vertical, bool atEnd)
{
    Canvas c(11, 11);
    c.Fill(Box(0, 0, 11, 11), kLightGrey);
    const double bar = atEnd ? 9.5 : 1.5;
    if (vertical) {
        c.Fill(Stroke(1, bar, 10, bar, 0.75), kInk);
        double from = atEnd ? 1.5 : 3.5;
        double to = atEnd ? 7.5 : 9.5;
        c.Fill(Stroke(5.5, from + 1.5, 5.5, to - 1.5, 0.6), kInk);
        c.Fill(arrowHead(5.5, from + 1.2, -M_PI / 2, 3, 2.4), kInk);
        c.Fill(arrowHead(5.5, to - 1.2, M_PI / 2, 3, 2.4), kInk);
    } else {
        c.Fill(Stroke(bar, 1, bar, 10, 0.75), kInk);
        double from = atEnd ? 1.5 : 3.5;
        double to = atEnd ? 7.5 : 9.5;
        c.Fill(Stroke(from + 1.5, 5.5, to - 1.5, 5.5, 0.6), kInk);
        c.Fill(arrowHead(from + 1.2, 5.5, M_PI, 3, 2.4), kInk);
        c.Fill(arrowHead(to - 1.2, 5.5, 0, 3, 2.4), kInk);
    }
    save(c, name);
}

void drawResizeHandles()
{
    Canvas grip(4, 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) {
            int diagonal = (x + y) % 4;
            grip.Set(x, y, diagonal == 0 ? kGrey : diagonal == 1 ? kWhite : kLightGrey);
        }
    save(grip, "resize-grip.png");
    edgeHandle("resize-bottom.png", true, true);
    edgeHandle("resize-top.png", true, false);
    edgeHandle("resize-right.png", false, true);
    edgeHandle("resize-left.png", false, false);
}

// Control icons of the layout lists, 16 x 16.
Canvas::Paint buttonFill()
{
    return Gradient(0, 4, kWhite, 0, 12, kLavender);
}

void pushButtonShape(Canvas& c)
{
    outlined(c, 0.5, 3.5, 15.5, 12.5, 3.5, buttonFill(), kDeepAccent);
}

void textBar(Canvas& c, double l, double r, double y, uint32_t colour = kGrey)
{
    c.Fill(Stroke(l, y, r, y, 0.75), colour);
}

void drawControlIcons()
{
    Canvas checkBox(16, 16);
    outlined(checkBox, 1.5, 1.5, 14.5, 14.5, 1.5, Gradient(0, 2, kWhite, 0, 14, kLightGrey), kInk);
    checkBox.Fill(checkMark(3.5, 3.5, 9, 1.0), kBlack);
    save(checkBox, "control-checkbox.png");

    Canvas material(16, 16);
    material.Fill(Disc(8, 8, 7), [](double x, double y) {
        double d = std::hypot(x - 5.8, y - 5.6) / 9.5;
        return d < 0.35 ? Mix(kWhite, kLavender, d / 0.35) : Mix(kLavender, kDeepAccent, (d - 0.35) / 0.65);
    });
    save(material, "control-material.png");

    Canvas popup(16, 16);
    outlined(popup, 0.5, 3.5, 15.5, 12.5, 2, [](double, double) { return kWhite; }, kInk);
    popup.Fill(RoundBox(10, 4.5, 14.5, 11.5, 1.5), kAccent);
    popup.Fill(arrowHead(12.25, 8.3, M_PI / 2, 2.8, 1.9), kWhite);
    textBar(popup, 3, 7.5, 8);
    save(popup, "control-popup.png");

    Canvas colourButton(16, 16);
    outlined(colourButton, 0.5, 1.5, 15.5, 14.5, 3, buttonFill(), kDeepAccent);
    colourButton.Fill(Box(3.5, 4.5, 12.5, 11.5), kInk);
    colourButton.Fill(Box(4.5, 5.5, 11.5, 10.5), kRed);
    save(colourButton, "control-colorbutton.png");

    Canvas colourSlider(16, 16);
    colourSlider.Fill(Box(0.5, 2.5, 15.5, 9.5), kInk);
    colourSlider.Fill(Box(1.5, 3.5, 14.5, 8.5), [](double x, double) {
        double hue = std::clamp((x - 1.5) / 13.0, 0.0, 1.0) * 5.0;
        const uint32_t stops[] = {kRed, kYellow, kGreen, kSky, kAccent, kRed};
        int i = std::min(int(hue), 4);
        return Mix(stops[i], stops[i + 1], hue - i);
    });
    colourSlider.Fill(Polygon({{9, 9.8}, {5.6, 14.5}, {12.4, 14.5}}), kInk);
    save(colourSlider, "control-colorslider.png");

    Canvas divider(16, 16);
    divider.Fill(Box(1, 7, 15, 8), HostArgb(255, 128, 128, 128));
    divider.Fill(Box(1, 8, 15, 9), kWhite);
    divider.Fill(Box(1, 4, 2, 12), HostArgb(255, 128, 128, 128));
    divider.Fill(Box(14, 4, 15, 12), HostArgb(255, 128, 128, 128));
    save(divider, "control-divider.png");

    Canvas editText(16, 16);
    outlined(editText, 0.5, 3.5, 15.5, 12.5, 0, [](double, double) { return kWhite; }, kInk);
    textBar(editText, 3, 8, 8);
    editText.Fill(Box(10, 5, 11, 11), kBlack);
    editText.Fill(Box(9, 5, 12, 6), kBlack);
    editText.Fill(Box(9, 10, 12, 11), kBlack);
    save(editText, "control-edittext.png");

    Canvas group(16, 16);
    group.Fill(Minus(Border(0.5, 3.5, 15.5, 15.5, 2, 1.0), Box(2.5, 0, 10.5, 6)), kGrey);
    textBar(group, 3.5, 9.5, 4, kDeepAccent);
    save(group, "control-group.png");

    Canvas pictureBox(16, 16);
    landscape(pictureBox, 0, 2, 16, 14);
    save(pictureBox, "control-picturebox.png");

    Canvas pushButton(16, 16);
    pushButtonShape(pushButton);
    textBar(pushButton, 4.5, 11.5, 8, kDeepAccent);
    save(pushButton, "control-pushbutton.png");

    Canvas radioSet(16, 16);
    for (int i = 0; i < 2; ++i) {
        double cy = 4 + 8 * i;
        radioSet.Fill(Disc(4, cy, 3.6), kInk);
        radioSet.Fill(Disc(4, cy, 2.7), kWhite);
        if (i == 0)
            radioSet.Fill(Disc(4, cy, 1.4), kInk);
        textBar(radioSet, 9.5, 14.5, cy);
    }
    save(radioSet, "control-radioset.png");

    Canvas staticText(16, 16);
    staticText.Fill(Polyline({{1.5, 11.5}, {4.5, 2.5}, {7.5, 11.5}}, 0.8), kInk);
    staticText.Fill(Stroke(2.7, 8.2, 6.3, 8.2, 0.7), kInk);
    textBar(staticText, 10, 14.5, 5);
    textBar(staticText, 10, 14.5, 8.5);
    textBar(staticText, 1.5, 14.5, 13.5);
    save(staticText, "control-statictext.png");

    Canvas tabs(16, 16);
    outlined(tabs, 7, 2, 13.5, 7, 1, [](double, double) { return kLightGrey; }, kInk);
    outlined(tabs, 0.5, 5.5, 15.5, 15.5, 0, [](double, double) { return kWhite; }, kInk);
    outlined(tabs, 1.5, 1.5, 7.5, 6.5, 1, [](double, double) { return kWhite; }, kInk);
    tabs.Fill(Box(2.5, 5.5, 6.5, 6.5), kWhite);
    save(tabs, "control-tabs.png");

    Canvas window(16, 16);
    outlined(window, 0.5, 1.5, 15.5, 14.5, 1, [](double, double) { return kWhite; }, kInk);
    window.Fill(Box(1.5, 2.5, 14.5, 6), kLavender);
    window.Fill(Box(1.5, 6, 14.5, 7), kInk);
    window.Fill(Disc(3.8, 4.3, 1.1), kDeepAccent);
    save(window, "control-window.png");

    Canvas branch(16, 16);
    outlined(branch, 1.5, 1.5, 8.5, 6.5, 1, [](double, double) { return kLavender; }, kInk);
    outlined(branch, 1.5, 5.5, 14.5, 15, 0, [](double, double) { return kWhite; }, kInk);
    branch.Fill(Box(2.5, 5.5, 7.5, 6.5), kLavender);
    textBar(branch, 4, 11.5, 9.5);
    textBar(branch, 4, 9.5, 12.2);
    save(branch, "control-branch.png");

    Canvas okButton(16, 16);
    pushButtonShape(okButton);
    okButton.Fill(checkMark(4.5, 4.2, 7.5, 0.9), kGreen);
    save(okButton, "control-okbutton.png");

    Canvas cancelButton(16, 16);
    pushButtonShape(cancelButton);
    cancelButton.Fill(cross(5.5, 5.5, 5, 0.85), kRed);
    save(cancelButton, "control-cancelbutton.png");

    Canvas listBox(16, 16);
    outlined(listBox, 0.5, 0.5, 15.5, 15.5, 0, [](double, double) { return kWhite; }, kInk);
    listBox.Fill(Box(1.5, 1.5, 11, 5.5), kLavender);
    for (int row = 0; row < 3; ++row)
        textBar(listBox, 3, 9, 3.5 + 4.2 * row, row == 0 ? kDeepAccent : kGrey);
    listBox.Fill(Box(11, 1.5, 12, 14.5), kInk);
    listBox.Fill(Box(12, 1.5, 14.5, 14.5), kLightGrey);
    listBox.Fill(Box(12, 4, 14.5, 8), kAccent);
    save(listBox, "control-listbox.png");

    Canvas glView(16, 16);
    const uint32_t faceTop = HostArgb(255, 170, 200, 240);
    const uint32_t faceLeft = HostArgb(255, 90, 140, 210);
    const uint32_t faceRight = HostArgb(255, 40, 80, 150);
    glView.Fill(Polygon({{8, 1}, {15, 4.6}, {8, 8.2}, {1, 4.6}}), faceTop);
    glView.Fill(Polygon({{1, 4.6}, {8, 8.2}, {8, 15.5}, {1, 11.9}}), faceLeft);
    glView.Fill(Polygon({{8, 8.2}, {15, 4.6}, {15, 11.9}, {8, 15.5}}), faceRight);
    save(glView, "control-glview.png");

    Canvas scroller(16, 16);
    outlined(scroller, 4, 0.5, 12, 15.5, 0, [](double, double) { return kPaleGrey; }, kInk);
    scroller.Fill(arrowHead(8, 3.3, -M_PI / 2, 3, 2.3), kInk);
    scroller.Fill(arrowHead(8, 12.7, M_PI / 2, 3, 2.3), kInk);
    outlined(scroller, 5, 6, 11, 10, 1, Gradient(5, 0, kLavender, 11, 0, kAccent), kDeepAccent);
    save(scroller, "control-scroller.png");
}

// Tool icons, 32 x 32: the control icons drawn twice their size, and the mode and alignment
// tools drawn at full size.
void doubled(const std::string& source, const std::string& name)
{
    HostPixelMap small;
    if (HostReadPNG((gFolder / source).string().c_str(), small) != noErr) {
        std::fprintf(stderr, "rsrcdraw: cannot read %s\n", source.c_str());
        ++gFailures;
        return;
    }
    Canvas c(32, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            c.Set(x, y, small.Get(x / 2, y / 2));
    save(c, name);
}

void alignmentIcon(const std::string& name, bool vertical, int kind)
{
    // kind 0 and 1: both bars against the near or far guide; 2: centred on a middle guide;
    // 3: spread evenly; 4: one bar centred in a frame.
    Canvas c(32, 32);
    auto box = [&](double a0, double b0, double a1, double b1) {
        return vertical ? Box(b0, a0, b1, a1) : Box(a0, b0, a1, b1);
    };
    auto bar = [&](double a0, double b0, double a1, double b1) {
        c.Fill(box(a0, b0, a1, b1), kDeepAccent);
        c.Fill(box(a0 + 1, b0 + 1, a1 - 1, b1 - 1), Gradient(0, 0, kPaleLavender, 32, 32, kLavender));
    };
    switch (kind) {
    case 0:
        c.Fill(box(4, 3, 5, 29), kRed);
        bar(5, 7, 25, 14);
        bar(5, 18, 18, 25);
        break;
    case 1:
        c.Fill(box(27, 3, 28, 29), kRed);
        bar(7, 7, 27, 14);
        bar(14, 18, 27, 25);
        break;
    case 2:
        c.Fill(box(15.5, 3, 16.5, 29), kRed);
        bar(6, 7, 26, 14);
        bar(10, 18, 22, 25);
        break;
    case 3:
        bar(3, 8, 9, 24);
        bar(13, 8, 19, 24);
        bar(23, 8, 29, 24);
        c.Fill(box(3, 27, 29, 28), kRed);
        break;
    case 4:
        c.Fill(box(2, 4, 30, 5), kGrey);
        c.Fill(box(2, 27, 30, 28), kGrey);
        c.Fill(box(2, 4, 3, 28), kGrey);
        c.Fill(box(29, 4, 30, 28), kGrey);
        bar(9, 10, 23, 22);
        c.Fill(box(15.5, 6, 16.5, 26), kRed);
        break;
    }
    save(c, name);
}

void drawToolIcons()
{
    Canvas test(32, 32);
    test.Fill(Disc(16, 16, 13), kDeepAccent);
    test.Fill(Disc(16, 16, 11.8), Gradient(0, 4, kPaleLavender, 0, 28, kLavender));
    test.Fill(Polygon({{12, 9}, {24, 16}, {12, 23}}), kGreen);
    save(test, "tool-test.png");

    Canvas edit(32, 32);
    const std::vector<Point2> arrow = {{9, 4}, {9, 25}, {14, 20}, {18, 28}, {21, 27}, {17, 19}, {24, 19}};
    edit.Fill(Polygon(arrow), kBlack);
    edit.Fill(Polygon({{10.4, 7.4}, {10.4, 21.8}, {14.4, 17.8}, {18.6, 26.2}, {19.4, 25.9}, {15.3, 17.7}, {20.8, 17.7}}),
              kWhite);
    save(edit, "tool-edit.png");

    Canvas pictureButton(16, 16);
    pushButtonShape(pictureButton);
    landscape(pictureButton, 5, 5, 11, 11);
    save(pictureButton, "tool-picturebutton-small.png");

    const struct {
        const char* source;
        const char* name;
    } controls[] = {
        {"control-tabs.png", "tool-tab.png"},
        {"control-okbutton.png", "tool-okbutton.png"},
        {"control-cancelbutton.png", "tool-cancelbutton.png"},
        {"tool-picturebutton-small.png", "tool-picturebutton.png"},
        {"control-edittext.png", "tool-edittext.png"},
        {"control-checkbox.png", "tool-checkbox.png"},
        {"control-divider.png", "tool-divider.png"},
        {"control-statictext.png", "tool-statictext.png"},
        {"control-picturebox.png", "tool-picture.png"},
        {"control-colorbutton.png", "tool-colorbutton.png"},
        {"control-radioset.png", "tool-radioset.png"},
        {"control-colorslider.png", "tool-colorslider.png"},
        {"control-popup.png", "tool-popup.png"},
        {"control-pushbutton.png", "tool-textbutton.png"},
        {"control-listbox.png", "tool-listbox.png"},
        {"control-glview.png", "tool-opengl.png"},
    };
    for (const auto& control : controls)
        doubled(control.source, control.name);
    std::filesystem::remove(gFolder / "tool-picturebutton-small.png");

    alignmentIcon("tool-align-left.png", false, 0);
    alignmentIcon("tool-align-right.png", false, 1);
    alignmentIcon("tool-align-top.png", true, 0);
    alignmentIcon("tool-align-bottom.png", true, 1);
    alignmentIcon("tool-align-horiz.png", false, 3);
    alignmentIcon("tool-align-vert.png", true, 3);
    alignmentIcon("tool-center-horiz.png", false, 4);
    alignmentIcon("tool-center-vert.png", true, 4);
}

// The marks of radio and check tools, 12 x 12: an empty ring, and a ring with a check mark.
void drawToolMarks()
{
    for (bool on : {false, true}) {
        Canvas c(12, 12);
        c.Fill(Disc(6, 6, 5.5), kInk);
        c.Fill(Disc(6, 6, 4.5), on ? kYellow : kWhite);
        if (on)
            c.Fill(checkMark(2.5, 2.5, 7, 0.8), kBlack);
        save(c, on ? "tool-mark-on.png" : "tool-mark-off.png");
    }
}

// Cursors: pixel art in black (X) and white (o); '.' is transparent.
void cursor(const std::string& name, const std::vector<std::string>& rows)
{
    Canvas c(16, 16);
    c.Pixels(0, 0, rows, {{'X', kBlack}, {'o', kWhite}});
    save(c, name);
}

void drawCursors()
{
    cursor("cursor-menu.png", {
                                  "X...............",
                                  "XX..............",
                                  "XoX.............",
                                  "XooX............",
                                  "XoooX...........",
                                  "XooooX..........",
                                  "XoooooX.........",
                                  "XooooooX........",
                                  "XoooXXXXX.......",
                                  "XooX.XXXXXXXXX..",
                                  "XoX..XooooooooX.",
                                  "XX...XoXXXXXXoX.",
                                  "X....XooooooooX.",
                                  ".....XoXXXXXXoX.",
                                  ".....XooooooooX.",
                                  "......XXXXXXXX..",
                              });
    cursor("cursor-hand-open.png", {
                                       ".......XX.......",
                                       "...XX.XooXXX....",
                                       "..XooXXooXooX...",
                                       "..XooXXooXooX.X.",
                                       "...XooXooXooXXoX",
                                       "...XooXooXooXooX",
                                       ".XX.XoooooooXooX",
                                       "XooXXooooooooooX",
                                       "XoooXoooooooooX.",
                                       ".XooooooooooooX.",
                                       "..XoooooooooooX.",
                                       "..XooooooooooX..",
                                       "...XoooooooooX..",
                                       "....XooooooooX..",
                                       ".....XoooooooX..",
                                       ".....XXXXXXXXX..",
                                   });
    cursor("cursor-hand-closed.png", {
                                         "................",
                                         "................",
                                         "................",
                                         "....XX.XX.XX....",
                                         "...XooXooXooXX..",
                                         "...XooooooooXoX.",
                                         "....XooooooooooX",
                                         "...XXooooooooooX",
                                         "..XooooooooooooX",
                                         "..XoooooooooooX.",
                                         "...XooooooooooX.",
                                         "....XoooooooooX.",
                                         "....XooooooooX..",
                                         ".....XoooooooX..",
                                         ".....XoooooooX..",
                                         ".....XXXXXXXXX..",
                                     });
    cursor("cursor-scissors.png", {
                                      "................",
                                      "..X.........X...",
                                      "..XX.......XX...",
                                      "...XX.....XX....",
                                      "....XX...XX.....",
                                      ".....XX.XX......",
                                      "......XXX.......",
                                      ".......X........",
                                      "......XXX.......",
                                      ".....XX.XX......",
                                      "..XXXX...XXXX...",
                                      ".XoooX...XoooX..",
                                      "XooXoX...XoXooX.",
                                      "XoX.XX...XX.XoX.",
                                      ".XoooX...XoooX..",
                                      "..XXX.....XXX...",
                                  });
}

// The colour pickers' icons, 22 x 22 (channels, hue wheel, inks, mixer plane, swatches), and the
// insertion marker's end caps: a 24 x 12 strip, the vertical marker's caps in its left square
// (top half above, bottom half below) and the horizontal marker's in its right square.
void drawPickerIcons()
{
    const double n = 22;
    Canvas rgb(22, 22);
    const uint32_t bars[] = {kRed, kGreen, HostArgb(255, 40, 90, 210)};
    for (int i = 0; i < 3; ++i) {
        const double top = 2.5 + i * 6.5;
        outlined(rgb, 1.5, top, 20.5, top + 4.5, 1, Gradient(1.5, 0, kBlack, 20.5, 0, bars[i]), kInk);
    }
    save(rgb, "picker-rgb.png");

    Canvas hsv(22, 22);
    hsv.Fill(Disc(11, 11, 10), kInk);
    hsv.Fill(Disc(11, 11, 9), [n](double x, double y) {
        double angle = std::atan2(y - n / 2, x - n / 2) / (2 * M_PI);
        if (angle < 0)
            angle += 1;
        const uint32_t stops[] = {kRed, kYellow, kGreen, kSky, HostArgb(255, 40, 90, 210), HostArgb(255, 200, 60, 200), kRed};
        const double at = angle * 6;
        const int i = std::min(int(at), 5);
        const uint32_t hue = Mix(stops[i], stops[i + 1], at - i);
        const double d = std::hypot(x - n / 2, y - n / 2) / 9;
        return Mix(kWhite, hue, std::min(1.0, d));
    });
    save(hsv, "picker-hsv.png");

    Canvas cmyk(22, 22);
    cmyk.Fill(Disc(8, 8, 6), HostArgb(220, 0, 174, 239));
    cmyk.Fill(Disc(14, 8, 6), HostArgb(200, 236, 0, 140));
    cmyk.Fill(Disc(11, 13.5, 6), HostArgb(200, 255, 236, 0));
    cmyk.Fill(Box(3, 18, 19, 21), kBlack);
    save(cmyk, "picker-cmyk.png");

    Canvas mixer(22, 22);
    outlined(mixer, 1, 1, 21, 21, 0, [](double x, double y) {
        const uint32_t stops[] = {kRed, kYellow, kGreen, kSky, HostArgb(255, 40, 90, 210), kRed};
        const double at = std::clamp((x - 2) / 18.0, 0.0, 1.0) * 5;
        const int i = std::min(int(at), 4);
        const uint32_t hue = Mix(stops[i], stops[i + 1], at - i);
        if (y > 17)
            return Mix(kWhite, kBlack, std::clamp((x - 2) / 18.0, 0.0, 1.0));
        const double t = (y - 2) / 15.0;
        return t < 0.5 ? Mix(kWhite, hue, t * 2) : Mix(hue, kBlack, (t - 0.5) * 2);
    }, kInk);
    save(mixer, "picker-mixer.png");

    Canvas swatches(22, 22);
    const uint32_t chips[] = {kRed, kYellow, kGreen, kSky, kAccent, kAmber, kGrass, kDeepRed, kGrey};
    for (int i = 0; i < 9; ++i) {
        const double l = 1.5 + (i % 3) * 6.5;
        const double t = 1.5 + (i / 3) * 6.5;
        outlined(swatches, l, t, l + 6, t + 6, 0, [c = chips[i]](double, double) { return c; }, kInk);
    }
    save(swatches, "picker-swatches.png");

    Canvas marker(24, 12);
    // Vertical marker: a cap opening downward above, one opening upward below.
    marker.Fill(Polygon({{1, 0}, {11, 0}, {6, 6}}), kInk);
    marker.Fill(Polygon({{1, 12}, {11, 12}, {6, 6}}), kInk);
    // Horizontal marker: a cap opening right at the left end, one opening left at the right end.
    marker.Fill(Polygon({{12, 1}, {12, 11}, {18, 6}}), kInk);
    marker.Fill(Polygon({{24, 1}, {24, 11}, {18, 6}}), kInk);
    save(marker, "picker-marker.png");
}

// The contact sheet: every PNG of a folder enlarged on a checkerboard, in name order.
int drawSheet(const std::filesystem::path& folder, const std::string& output, int scale)
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().extension() == ".png")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    const int cell = 34 * scale;
    const int columns = 8;
    const int rows = int((files.size() + columns - 1) / columns);
    Canvas sheet(columns * cell, std::max(1, rows) * cell);
    for (int y = 0; y < sheet.Height(); ++y)
        for (int x = 0; x < sheet.Width(); ++x)
            sheet.Set(x, y, ((x / 8 + y / 8) % 2) ? HostArgb(255, 200, 200, 200) : HostArgb(255, 250, 250, 250));
    for (size_t i = 0; i < files.size(); ++i) {
        HostPixelMap image;
        if (HostReadPNG(files[i].c_str(), image) != noErr) {
            std::fprintf(stderr, "rsrcdraw: cannot read %s\n", files[i].c_str());
            return 1;
        }
        const int left = int(i % columns) * cell + scale;
        const int top = int(i / columns) * cell + scale;
        for (int y = 0; y < image.Height() * scale; ++y)
            for (int x = 0; x < image.Width() * scale; ++x)
                sheet.Blend(left + x, top + y, image.Get(x / scale, y / scale), 1.0);
    }
    if (OSErr err = sheet.Save(output); err != noErr) {
        std::fprintf(stderr, "rsrcdraw: cannot write %s (error %d)\n", output.c_str(), int(err));
        return 1;
    }
    for (size_t i = 0; i < files.size(); ++i)
        std::printf("%zu: %s\n", i, files[i].filename().c_str());
    return 0;
}

} // namespace

// Shader parameter icons of the editor's Shader dialog, 16 x 16: numbers, boolean, pop-up, colours,
// memory block, graph and gradient.
void drawShaderIcons()
{
    Canvas numbers(16, 16);
    outlined(numbers, 0.5, 2.5, 15.5, 13.5, 2, [](double, double) { return kWhite; }, kInk);
    for (int i = 0; i < 4; ++i)
        numbers.Fill(Box(3 + 2.75 * i, 10.5 - 1.75 * i, 4.5 + 2.75 * i, 11.5), kAccent);
    save(numbers, "shader-numbers.png");

    Canvas boolean(16, 16);
    outlined(boolean, 1.5, 1.5, 14.5, 14.5, 1.5, Gradient(0, 2, kWhite, 0, 14, kLightGrey), kInk);
    boolean.Fill(checkMark(3.5, 3.5, 9, 1.0), kDeepAccent);
    save(boolean, "shader-boolean.png");

    Canvas popup(16, 16);
    outlined(popup, 0.5, 3.5, 15.5, 12.5, 2, [](double, double) { return kWhite; }, kInk);
    popup.Fill(RoundBox(10, 4.5, 14.5, 11.5, 1.5), kDeepAccent);
    popup.Fill(arrowHead(12.25, 8.3, M_PI / 2, 2.8, 1.9), kWhite);
    textBar(popup, 3, 7.5, 8, kAccent);
    save(popup, "shader-popup.png");

    Canvas colours(16, 16);
    colours.Fill(Disc(5.5, 6, 4.5), kRed);
    colours.Fill(Disc(10.5, 6, 4.5), kGreen);
    colours.Fill(Disc(8, 10.5, 4.5), kSky);
    save(colours, "shader-colours.png");

    Canvas memory(16, 16);
    outlined(memory, 2.5, 2.5, 13.5, 13.5, 1, [](double, double) { return kPaleLavender; }, kInk);
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            memory.Fill(Box(4.5 + 2.5 * column, 4.5 + 2.5 * row, 6 + 2.5 * column, 6 + 2.5 * row), kAccent);
    for (int i = 0; i < 3; ++i) {
        memory.Fill(Box(5 + 2.5 * i, 0.5, 6 + 2.5 * i, 2.5), kInk);
        memory.Fill(Box(5 + 2.5 * i, 13.5, 6 + 2.5 * i, 15.5), kInk);
    }
    save(memory, "shader-memory.png");

    Canvas graph(16, 16);
    graph.Fill(Box(1.5, 1, 2.5, 14.5), kInk);
    graph.Fill(Box(1.5, 13.5, 15, 14.5), kInk);
    const double points[][2] = {{3, 12}, {6, 7}, {9, 9}, {12, 4}, {14.5, 2.5}};
    for (int i = 0; i < 4; ++i)
        graph.Fill(Stroke(points[i][0], points[i][1], points[i + 1][0], points[i + 1][1], 0.7), kRed);
    save(graph, "shader-graph.png");

    Canvas gradient(16, 16);
    outlined(gradient, 0.5, 2.5, 15.5, 13.5, 0, Gradient(1.5, 0, kDeepAccent, 14.5, 0, kWhite), kInk);
    save(gradient, "shader-gradient.png");
}

int main(int argc, char** argv)
{
    if (argc >= 4 && std::string(argv[1]) == "--sheet")
        return drawSheet(argv[2], argv[3], argc >= 5 ? std::max(1, std::atoi(argv[4])) : 4);
    if (argc != 2) {
        std::fprintf(stderr, "usage: rsrcdraw FOLDER | rsrcdraw --sheet FOLDER OUTPUT [SCALE]\n");
        return 2;
    }
    gFolder = argv[1];
    drawTitleBoxes();
    drawPictures();
    drawButtonIcons();
    drawAlertIcons();
    drawPopupArrow();
    drawOutlineImages();
    drawChecksAndRadios();
    drawResizeHandles();
    drawControlIcons();
    drawShaderIcons();
    drawToolIcons();
    drawToolMarks();
    drawCursors();
    drawPickerIcons();
    return gFailures == 0 ? 0 : 1;
}
