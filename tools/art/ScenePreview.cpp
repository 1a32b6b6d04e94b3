// vornel-art-preview: builds the table scene from the written bank with the game's own sprites
// (table view, ball, shadow, bats, net, scores), as the game sets it up, renders it on the
// screen of every device, and writes PNGs to judge the pictures by eye:
//   /tmp/vornel-scene-<device>.png   the scene at the start of a game
//   /tmp/vornel-rally-<device>.png   a rally: bats turned, the ball low over the near half
//   /tmp/vornel-behind-<device>.png  the ball dropping behind the table's far end
//   /tmp/vornel-bounce-<device>.png  the ball touching the table near its far end
//   /tmp/vornel-intro-<device>.png   where the intro starts the rising table
//   /tmp/vornel-menu-<device>.png    the menu's buttons over the scene
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "art/ArtBank.h"
#include "art/TableGeometry.h"
#include "bank/PngFile.h"
#include "core/ProgramFolder.h"
#include "core/RunContext.h"
#include "sprites/Font.h"
#include "sprites/Screen.h"
#include "sprites/TableWorld.h"
#include "sprites/TextSprite.h"

namespace vornel {
namespace {

constexpr const char* kProgram = "vornel-art-preview";

struct Device {
    const char* name;
    int32_t width;
    int32_t height;
};

// pocketpc-vga draws at 240 x 320 in double-size mode, so it looks as pocketpc does.
constexpr Device kDevices[] = {{"pocketpc", 240, 320}, {"smartphone", 176, 220}, {"qwerty", 320, 240}};

class BankOwner : public Base {};

Fixed units(double value) {
    return static_cast<Fixed>(value * TableGeometry::kUnit);
}

Ref<String> text(const std::string& s) {
    return new String(s.data(), 0, static_cast<int32_t>(s.size()));
}

// A sprite of picture number scaled to worldWidth (Fixed) across, at a world position.
Ref<Psprite> worldSprite(const Ref<PictureBank>& bank, int32_t number, Fixed worldWidth, Fixed x, Fixed y, Fixed z) {
    Ref<Psprite> sprite = new Psprite();
    sprite->setPicture(bank, number);
    sprite->setScale(worldWidth / sprite->width());
    sprite->setPos(x, y, z);
    return sprite;
}

// Which bat picture a sideways position shows, as the game's bat placement picks it.
int32_t batPicture(Fixed x) {
    if (x < -786432) {
        return 9;
    }
    if (x < -262144) {
        return 10;
    }
    if (x < 262144) {
        return 11;
    }
    return x < 786432 ? 12 : 13;
}

struct Rally {
    Fixed ballX, ballY, ballZ;
    Fixed playerX, opponentX;
};

// The game's start: the ball high over the net, both bats straight behind their ends.
constexpr Rally kStart{0, 0x1B8D4F, 0, 0, 0};

// The view and its children in the game's order: ball, shadow, opponent's bat, net, player's bat.
Ref<TableWorld> tableView(const Ref<PictureBank>& bank, Screen& screen, const Rally& rally) {
    using G = TableGeometry;
    Ref<TableWorld> view = new TableWorld();
    view->setPicture(bank, ArtBank::kTable);
    view->fitTo(screen);
    view->setFocal(0x2CCA, 480);
    view->setPitch(0x666);
    view->setPos(0, 0x300000, -0x600000);
    const bool overTable = rally.ballY >= units(G::kTopY) && std::abs(rally.ballX) <= units(G::kHalfWidth) &&
                           std::abs(rally.ballZ) <= units(G::kHalfLength);
    const Fixed shadowY = overTable ? 855375 : -392822784;
    view->add(worldSprite(bank, ArtBank::kBall, 0x19326, rally.ballX, rally.ballY, rally.ballZ));
    view->add(worldSprite(bank, ArtBank::kShadow, 0x19326, rally.ballX, shadowY, rally.ballZ));
    view->add(worldSprite(bank, batPicture(rally.opponentX), 0x50000, rally.opponentX, 0x128D4F, 0x20E2D0));
    Ref<Psprite> net = new Psprite();
    net->setPicture(bank, ArtBank::kNet);
    net->setScale(0x20E146 / (net->width() - 10));
    net->setPos(0, 0xC8D4F, 0);
    view->add(net);
    Ref<Psprite> player = worldSprite(bank, batPicture(rally.playerX), 0x50000, rally.playerX, 0x128D4F, -0x20E2D0);
    player->setOpacity(0x4000);
    view->add(player);
    return view;
}

// Score texts in the top corners with their markers, as the game lays them out.
void addScores(const Ref<PictureBank>& bank, Screen& screen, int32_t playerPoints, int32_t opponentPoints) {
    Ref<TextSprite> playerText = new TextSprite();
    playerText->setFieldSize(2);
    playerText->setNumber(playerPoints);
    playerText->setPosition(4, 4);
    Ref<TextSprite> opponentText = new TextSprite();
    opponentText->setFieldSize(2);
    opponentText->setNumber(opponentPoints);
    opponentText->setPosition(screen.width() - opponentText->width() - 4, 4);
    Ref<Psprite> playerMarker = new Psprite();
    playerMarker->setPicture(bank, ArtBank::kScoreMarker);
    playerMarker->setPosition(6, 6);
    Ref<Psprite> opponentMarker = new Psprite();
    opponentMarker->setPicture(bank, ArtBank::kScoreMarker);
    opponentMarker->setPosition(screen.width() - 6, 6);
    screen.add(playerMarker);
    screen.add(playerText);
    screen.add(opponentMarker);
    screen.add(opponentText);
}

const char* const kMenuLabels[] = {"New Game", "Resume", "Sound: On", "Level: Easy", "Help", "About", "Exit"};
constexpr int32_t kMenuItems = 7;

// The menu of a screen narrower than 240 pixels: its labels on a translucent panel.
void addTextMenu(Screen& screen) {
    Ref<Psprite> menu = new Psprite();
    menu->setColor(0x80404080);
    int32_t row = 0;
    for (const char* label : kMenuLabels) {
        Ref<TextSprite> caption = menu->addTextCentred(text(label));
        caption->setOpacity(row++ == 1 ? kFixedOne : 0x6000);
    }
    screen.addCentred(menu);
}

// The menu as buttons: rows one line height apart in the plain list, stretched to the space
// the screen offers (at most 1.5 times), each label centred on its button.
void addMenu(const Ref<PictureBank>& bank, Screen& screen) {
    if (screen.width() < 240) {
        addTextMenu(screen);
        return;
    }
    const char* const* labels = kMenuLabels;
    constexpr int32_t kItems = kMenuItems;
    constexpr Fixed kLargestStretch = 0xC000;
    const int32_t lineHeight = TextSprite::defaultFont()->lineHeight();
    const int32_t available = screen.height() > screen.width() ? screen.width() - 27 : screen.height();
    const Fixed stretch = std::min(toFixed(available) / (kItems * lineHeight), kLargestStretch);
    Ref<Psprite> menu = new Psprite();
    int32_t row = 0;
    int32_t buttonWidth = 0;
    int32_t bottom = 0;
    for (int32_t item = 0; item < kItems; ++item) {
        const char* label = labels[item];
        Ref<Psprite> button = new Psprite();
        button->setPicture(bank, ArtBank::kMenuButton);
        button->setDepth(1);
        Ref<TextSprite> caption = new TextSprite(text(label));
        caption->setPosition((button->width() - caption->width()) >> 1, (button->height() - caption->height() + 1) >> 1);
        caption->setOpacity(row == 1 ? kFixedOne : 0x6000);
        const int32_t y = fmul(toFixed(row * lineHeight), stretch) >> kFixedShift;
        Ref<Psprite> line = new Psprite();
        line->setPosition(0, y);
        line->addBack(button);
        line->addBack(caption);
        menu->addBack(line);
        buttonWidth = button->width();
        bottom = y + button->height();
        ++row;
    }
    menu->setPosition((screen.width() - buttonWidth) / 2, (screen.height() - bottom) / 2);
    screen.addBack(menu);
}

// Where the intro starts: the table picture with the net on it, its top at the screen's top.
void addIntro(const Ref<PictureBank>& bank, Screen& screen, Fixed viewScale) {
    Ref<Psprite> intro = new Psprite();
    intro->setPicture(bank, ArtBank::kTable);
    intro->setScale(viewScale);
    Ref<Psprite> net = new Psprite();
    net->setPicture(bank, ArtBank::kNet);
    intro->add(net);
    intro->setPosition(screen.width() / 2, (viewScale * intro->m_anchorY) >> kFixedShift);
    screen.add(intro);
}

RgbaImage snapshot(Screen& screen, int32_t zoom) {
    RgbaImage image(screen.width() * zoom, screen.height() * zoom);
    for (int32_t y = 0; y < image.height(); ++y) {
        for (int32_t x = 0; x < image.width(); ++x) {
            const uint32_t pixel = screen.m_buffer[(y / zoom) * screen.width() + x / zoom];
            image.setPixel(x, y, 0xFF000000 | (pixel & 0xFFFFFF));  // the top byte is depth, not alpha
        }
    }
    return image;
}

bool save(Screen& screen, const std::string& kind, const Device& device, int32_t zoom) {
    // The table view writes its depth layer into its kept image during the first repaint,
    // so only the repaints after it hide what passes behind the table: show the second.
    screen.render();
    screen.invalidate(0, 0, screen.width(), screen.height());
    screen.render();
    const std::string path = std::string("/tmp/vornel-") + kind + "-" + device.name + ".png";
    std::string error;
    if (!PngFile::write(path, snapshot(screen, zoom), error)) {
        std::fprintf(stderr, "%s: %s: %s\n", kProgram, path.c_str(), error.c_str());
        return false;
    }
    return true;
}

Ref<Screen> blankScreen(const Device& device) {
    Ref<Screen> screen = new Screen();
    screen->setSize(device.width, device.height);
    screen->setColor(0xFF000000);
    return screen;
}

bool previewScene(const Ref<PictureBank>& bank, const Device& device, const std::string& kind, const Rally& rally,
                  bool withMenu, int32_t zoom) {
    Ref<Screen> screen = blankScreen(device);
    Ref<TableWorld> view = tableView(bank, *screen, rally);
    screen->add(view);
    addScores(bank, *screen, rally.ballZ == 0 ? 0 : 7, rally.ballZ == 0 ? 0 : 10);
    if (withMenu) {
        addMenu(bank, *screen);
    }
    const bool saved = save(*screen, kind, device, zoom);
    std::printf("%-10s %-6s view scale 0x%04X at (%d, %d)\n", device.name, kind.c_str(), view->scale(),
                view->x() >> kFixedShift, view->y() >> kFixedShift);
    screen->clear();
    return saved;
}

bool previewIntro(const Ref<PictureBank>& bank, const Device& device, int32_t zoom) {
    Ref<Screen> scratch = blankScreen(device);
    Ref<TableWorld> view = tableView(bank, *scratch, kStart);  // only to learn where fitTo puts it
    Ref<Screen> screen = blankScreen(device);
    addIntro(bank, *screen, view->scale());
    const bool saved = save(*screen, "intro", device, zoom);
    std::printf("%-10s intro  from y %d up to y %d\n", device.name, (view->scale() * view->m_anchorY) >> kFixedShift,
                view->y() >> kFixedShift);
    screen->clear();
    view->clear();  // never added to a screen: its children still point back at it
    return saved;
}

int fail(const std::string& message) {
    std::fprintf(stderr, "%s: %s\n", kProgram, message.c_str());
    return 2;
}

}  // namespace
}  // namespace vornel

int main(int argc, char** argv) {
    using namespace vornel;
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string folder = (std::filesystem::absolute(argv[0]).parent_path().parent_path() / "bin").string();
    int32_t zoom = 1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--zoom" && i + 1 < args.size()) {
            const std::string& value = args[++i];
            const auto result = std::from_chars(value.data(), value.data() + value.size(), zoom);
            if (result.ec != std::errc() || zoom < 1 || zoom > 8) {
                return fail("bad zoom \"" + value + "\" (1..8)");
            }
        } else if (args[i].rfind("--", 0) != 0) {
            folder = args[i];
        } else {
            return fail("usage: vornel-art-preview [DATA_FOLDER] [--zoom 1..8]");
        }
    }
    const RunContext dataFolder(folder);
    Ref<PictureBank> bank = new PictureBank(new BankOwner(), *String::fromLiteral(ArtBank::kBankName));
    if (bank->count() != ArtBank::kPictureCount) {
        return fail("no bank of " + std::to_string(ArtBank::kPictureCount) + " pictures in " + folder);
    }
    Ref<Font> font = new Font();
    if (!font->load(*String::fromLiteral("f15.bin"))) {
        return fail("no font f15.bin in " + folder);
    }
    TextSprite::setDefaultFont(font);
    TextSprite::setDefaultTextColor(0xFFFFFFFF);
    // A rally: the ball low over the player's half, the player's bat to the left, the
    // opponent's far to the right. Then a ball that fell off the far end, below the table top.
    const Rally rally{units(-9), units(31), units(-24), units(-14), units(30)};
    const Rally behind{units(12), units(18), units(58), units(4), units(-8)};
    const Rally bounce{units(10), 874210, units(45), units(-36), units(-20)};
    bool ok = true;
    for (const Device& device : kDevices) {
        ok = previewScene(bank, device, "scene", kStart, false, zoom) && ok;
        ok = previewScene(bank, device, "rally", rally, false, zoom) && ok;
        ok = previewScene(bank, device, "behind", behind, false, zoom) && ok;
        ok = previewScene(bank, device, "bounce", bounce, false, zoom) && ok;
        ok = previewScene(bank, device, "menu", kStart, true, zoom) && ok;
        ok = previewIntro(bank, device, zoom) && ok;
    }
    TextSprite::setDefaultFont(nullptr);
    return ok ? 0 : 1;
}
