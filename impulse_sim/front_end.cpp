#include "front_end.h"

#include <algorithm>
#include <cstdio>

#include "contact_drawing.h"
#include "scenes.h"
#include "tavrel.h"
#include "world.h"
#include "world_drawing.h"

int32_t SceneNumber = 1;
int16_t FramePage = 0;

namespace {

constexpr TVec2 Gravity{0, -9.8};

void BuildWorld(const TVec2& gravity, int32_t iterations, bool positionCorrection,
                bool warmStarting, bool splitImpulses, bool accumulateImpulses) {
    ClearWorld();
    ProjectileActive = false;
    SetWorld(gravity, iterations, positionCorrection, warmStarting, splitImpulses,
             accumulateImpulses);
    BuildScene(SceneNumber, ProgramRandom);
}

// The thrown body, when there is one.
TWorldBody* Projectile() { return ProjectileActive ? &WorldBodies[WorldBodyCount] : nullptr; }

const char* YesNo(bool on) { return on ? "Da" : "Nu"; }

}  // namespace

void BeginScene(uint32_t seed) {
    ContactDrawHook = DrawStepContacts;  // the step marks its contacts on the draw page
    SeedRandom(ProgramRandom, seed);
    ResetView();
    BuildWorld(Gravity, DefaultIterations, true, false, false, true);
}

void RestartScene() {
    BuildWorld(WorldGravity, SolverIterations, PositionCorrection, WarmStarting, SplitImpulses,
               AccumulateImpulses);
}

void DispatchKey(uint8_t key) {
    switch (key) {
        case KeySpace:
            // A full world takes no new body; the last one then stays what
            // it was rather than turning into the projectile.
            ProjectileActive = LaunchProjectile(ProjectileActive, ProgramRandom);
            break;
        case KeyUp: ViewZoom = MinOf(ViewZoom + 1, MaxViewZoom); break;
        case KeyDown: ViewZoom = MaxOf(ViewZoom - 1, MinViewZoom); break;
        case KeyRight: SolverIterations = std::min(SolverIterations + 1, MaxIterations); break;
        case KeyLeft: SolverIterations = std::max(SolverIterations - 1, MinIterations); break;
        case 'a': AccumulateImpulses = !AccumulateImpulses; break;
        case 'c': WarmStarting = !WarmStarting; break;
        case 'p': PositionCorrection = !PositionCorrection; break;
        case 's': SplitImpulses = !SplitImpulses; break;
        case 'b': ProjectileActive = false; break;
        case 'm':
            if (TWorldBody* p = Projectile()) p->Velocity.Y += 10;
            break;
        case 'x':
            if (TWorldBody* p = Projectile()) p->Velocity.X += 1;
            break;
        case 'z':
            if (TWorldBody* p = Projectile()) p->Velocity.X -= 1;
            break;
        case 'r': RestartScene(); break;
        default: break;  // the close request (107) among them
    }
}

bool EndsFrameLoop(uint8_t key) {
    return key == KeyEsc || key == KeyEnter || key == KeyF1 || key == KeyBackspace;
}

int32_t SceneAfterKey(int32_t scene, uint8_t key) {
    switch (key) {
        case KeyEnter: return scene >= SceneCount ? 1 : scene + 1;
        case KeyBackspace: return scene <= 1 ? SceneCount : scene - 1;
        default: return scene;
    }
}

void DragNearestBody(int32_t x, int32_t y) {
    TVec2 target = WindowToWorld(x, y);
    int32_t nearest = 0;
    long double best = HugeReal;
    for (int32_t i = 1; i <= WorldBodyCount; i++) {
        long double dx = static_cast<long double>(WorldBodies[i].Position.X) - target.X;
        long double dy = static_cast<long double>(WorldBodies[i].Position.Y) - target.Y;
        long double distance = dx * dx + dy * dy;
        if (distance < best) {
            best = distance;
            nearest = i;
        }
    }
    if (nearest > 0) WorldBodies[nearest].Position = target;
}

void FormatStatusLine(TStatusText& text) {
    std::snprintf(text.data(), text.size(),
                  "Corpuri=%d, Iteratii=%d, Start cald=%s, Pozitie corectata=%s, "
                  "Acumulare impuls=%s, Sparge impuls=%s",
                  static_cast<int>(WorldBodyCount), static_cast<int>(SolverIterations),
                  YesNo(WarmStarting), YesNo(PositionCorrection), YesNo(AccumulateImpulses),
                  YesNo(SplitImpulses));
}

void DrawStatusLine() {
    TStatusText text;
    FormatStatusLine(text);
    SetDrawColor(NamedColors[StatusLineColor]);
    SelectTextFont(3, 0, 16);
    SetTextAnchor(1, 0);  // centred on the point, top at the point
    DrawTextAt(static_cast<int16_t>(GetRightEdge() / 2), 5, text.data());
}
