// The texture rename rows: {stored_name, model_name}, in table order. Still-texture rows come
// first, then the animated ones.
#include "archive/texture_renames.h"

#include <cstring>

#include "state/file_io.h"

const TextureRename texture_renames[NUM_TEXTURE_RENAMES] = {
    {"7escape.ogf", "6escape.ogf"},
    {"br2exitbw.ogf", "br3exitbw.ogf"},
    {"BriefingLayout.ogf", "BriefingLayout2.ogf"},
    {"ExplosionBlast2.ogf", "ExplosionDiskNew2.ogf"},
    {"headlightflare.ogf", "Corona26.ogf"},
    {"MediumScreen.ogf", "MediumScreenNew.ogf"},
    {"red_blast_wave.ogf", "flameblastring.ogf"},
    {"SmallScreen.ogf", "SmallScreen3B.ogf"},
    {"starflare.ogf", "Corona29.ogf"},
    {"Sunflare.ogf", "Corona30.ogf"},
    {"antenna.oaf", "AntLite000.oaf"},
    {"bacwait.oaf", "BacWait1.oaf"},
    {"biowarn.oaf", "biowarn1.oaf"},
    {"black_smoke.oaf", "BlackSmoke01.oaf"},
    {"bluespark.oaf", "bluespark01.oaf"},
    {"citylights.oaf", "CityLights1.oaf"},
    {"computerhubmonitors.oaf", "ComputerHubMonitors000.oaf"},
    {"ConPanA.oaf", "ControlPanelA01.oaf"},
    {"ConPanBLOCKED.oaf", "ControlPanelB2_01.oaf"},
    {"ConPanC.oaf", "conpanC01.oaf"},
    {"ConPanC02.oaf", "conpanC2_01.oaf"},
    {"ConPanelA02.oaf", "ControlPanelA2_01.oaf"},
    {"ConPanelB.oaf", "ControlPanelB01.oaf"},
    {"cwt.oaf", "cwt1.oaf"},
    {"DataBPani.oaf", "DataPAni1.oaf"},
    {"ed.oaf", "Ed1.oaf"},
    {"emeevac.oaf", "emeevac1.oaf"},
    {"explosion.oaf", "FireBall01.oaf"},
    {"ExplosionAA.oaf", "ExplosionAA01.oaf"},
    {"ExplosionBB.oaf", "ExplosionBB01.oaf"},
    {"ExplosionBlkshrk.oaf", "ExplosionBlkshrk01.oaf"},
    {"ExplosionCC.oaf", "ExplosionCC01.oaf"},
    {"ExplosionDD.oaf", "ExplosionDD01.oaf"},
    {"ExplosionE.oaf", "ExplosionE01.oaf"},
    {"ExplosionFF.oaf", "ExplosionFF01.oaf"},
    {"ExplosionG.oaf", "ExplosionG01.oaf"},
    {"ExplosionH.oaf", "ExplosionH01.oaf"},
    {"ExplosionIMPACT.oaf", "ExplosionIMPACT01.oaf"},
    {"FlarePuff.oaf", "FlarePuff01.oaf"},
    {"FlarePuffAlt.oaf", "FlarePuffAlt01.oaf"},
    {"flashers.oaf", "SecFlyLit-Flashers000.oaf"},
    {"kitty.oaf", "kitty1.oaf"},
    {"LG.oaf", "LG_00.oaf"},
    {"mcrowd.oaf", "MCrowd1.oaf"},
    {"Napalm.oaf", "napalm01.oaf"},
    {"NapalmFire.oaf", "NapalmFire01.oaf"},
    {"NapalmGunBlob.oaf", "NapalmGunBlob01.oaf"},
    {"orangespark.oaf", "orangespark01.oaf"},
    {"Pfan1.oaf", "P-StoreFan1.oaf"},
    {"pillar.oaf", "pill001.oaf"},
    {"plasmafire.oaf", "plasmafire01.oaf"},
    {"prislock.oaf", "prislock1.oaf"},
    {"rsa.oaf", "RMA1.oaf"},
    {"screwutoo.oaf", "ScrewUtoo1.oaf"},
    {"secmon.oaf", "secmon1.oaf"},
    {"securmonitor.oaf", "SecurMonitor002.oaf"},
    {"shatterbig.oaf", "ShatB_01.oaf"},
    {"shattersmall.oaf", "ShatS_01.oaf"},
    {"she-blink.oaf", "She-blink1.oaf"},
    {"SmokePuff.oaf", "SmokePuff01.oaf"},
    {"SmokeTrailVortex.oaf", "SmokeTrailVortex01.oaf"},
    {"snet.oaf", "SNet1.oaf"},
    {"Sparkvauss.oaf", "Sparkvauss01.oaf"},
    {"SSAlights.oaf", "SSALights1.oaf"},
    {"statictoo.oaf", "Statictoo1.oaf"},
    {"TechPan.oaf", "Tech Pan Neons A.oaf"},
    {"TestNapalm.oaf", "TestNapalm01.oaf"},
    {"track.oaf", "Track1.oaf"},
    {"trackweak.oaf", "weak00.oaf"},
    {"Warp.oaf", "warp00.oaf"},
    {"yellowspark.oaf", "yellowspark01.oaf"},
};

const char* find_texture_rename(std::string_view file_name) {
    for (const TextureRename& row : texture_renames) {
        std::string_view model_name(row.model_name,
                                    strnlen(row.model_name, TEXTURE_RENAME_NAME_LEN));
        if (equal_ignoring_case(model_name, file_name))
            return row.stored_name;
    }
    return nullptr;
}
