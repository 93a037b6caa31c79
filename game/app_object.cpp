// Construction of the game object: the arrays at their fixed sizes, the
// construction defaults, and the collector's marking hook.
#include "game/my_app.h"
#include "game/records.h"

c_MyApp* c_MyApp::m_new() {
    c_App::m_new();
    return InitFields();
}

c_MyApp* c_MyApp::InitFields() {
    gc_assign(touchDown, Array<int>(10));
    gc_assign(touchX, Array<int>(10));
    gc_assign(touchY, Array<int>(10));
    gc_assign(padState, Array<int>(20));
    gc_assign(displayList, Array<float>(37500));
    gc_assign(images, Array<c_Image*>(100));
    gc_assign(imageInfo, Array<int>(300));
    gc_assign(sounds, Array<c_Sound*>(100));
    gc_assign(channelMap, Array<int>(33));
    gc_assign(stars, Array<float>(rec::kEntityFloats));
    gc_assign(particles, Array<float>(rec::kEntityFloats));
    gc_assign(player, Array<float>(rec::kPlayerFloats));
    gc_assign(planets, Array<float>(rec::kEntityFloats));
    gc_assign(followers, Array<float>(rec::kEntityFloats));
    gc_assign(hazards, Array<float>(rec::kHazardRecords * rec::kSize));
    gc_assign(unlockPoints, Array<int>(2000));
    gc_assign(settings, Array<int>(25));
    gc_assign(badges, Array<bool>(256));
    gc_assign(scores, Array<int>(5000));
    gc_assign(badgeToastId, Array<int>(15));
    gc_assign(badgeToastTimer, Array<int>(15));
    gc_assign(orbitTrail, Array<float>(202));
    for (int i = 0; i < 10; ++i) touchX[i] = touchY[i] = -3717;
    statsResponse = String("N/A");
    return this;
}

void c_MyApp::mark() {
    c_App::mark();
    gc_enqueue(touchDown);
    gc_enqueue(touchX);
    gc_enqueue(touchY);
    gc_enqueue(padState);
    gc_enqueue(displayList);
    gc_enqueue(images);
    gc_enqueue(imageInfo);
    gc_enqueue(sounds);
    gc_enqueue(channelMap);
    gc_enqueue(stars);
    gc_enqueue(particles);
    gc_enqueue(player);
    gc_enqueue(planets);
    gc_enqueue(followers);
    gc_enqueue(hazards);
    gc_enqueue(unlockPoints);
    gc_enqueue(settings);
    gc_enqueue(badges);
    gc_enqueue(scores);
    gc_enqueue(badgeToastId);
    gc_enqueue(badgeToastTimer);
    gc_enqueue(orbitTrail);
    gc_enqueue(statsRequest);
}
