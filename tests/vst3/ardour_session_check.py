#!/usr/bin/env python3
"""TAVO inside Debian's Ardour 7, headless (ardour7-lua on its Dummy backend): a session inserts
TAVO on a stereo and a mono track, checks the eight parameters and the latency Ardour reads, sets
Drive and Input Trim, lets the engine run and saves; a second process (one session per process)
reloads the session and must find both settings on both tracks. The bundle is found as Ardour
finds one: in ~/.vst3 (a scratch home), through the scanner's cache entry.
Exits 77 (skipped) when Ardour is not installed.

Usage: ardour_session_check.py <TAVO.vst3>
"""
import os
import re
import subprocess
import sys
import tempfile

ARDOUR = "/usr/lib/ardour7"
SCANNER = os.path.join(ARDOUR, "ardour-vst3-scanner")
LUA = "/usr/bin/ardour7-lua"
PROCESSOR_CID = "6A0C1F523B9E4D71A2C85E1347D06B29"
NAMES = ["Input Trim", "Drive", "Output Compensation", "Asymmetry", "Freq Response",
         "Crosstalk Level", "VU Mode", "Bypass"]
DRIVE, TRIM = 7.5, -4.0

CREATE = """
AudioEngine:set_backend("None (Dummy)", "", "")
AudioEngine:start(false)
local s = create_session("{session}", "tavo", 48000)
assert(s, "no session")
for _, ch in ipairs({{2, 1}}) do
  local name = ch == 2 and "stereo" or "mono"
  local track = s:new_audio_track(ch, 2, nil, 1, name, ARDOUR.PresentationInfo.max_order,
                                  ARDOUR.TrackMode.Normal, true):front()
  local p = ARDOUR.LuaAPI.new_plugin(s, "{cid}", ARDOUR.PluginType.VST3, "")
  assert(not p:isnil(), "TAVO not found")
  assert(track:add_processor_by_index(p, 0, nil, true) == 0, "not inserted")
  local plug = p:to_insert():plugin(0)
  for i = 0, plug:parameter_count() - 1 do print("param", name, i, plug:parameter_label(i)) end
  print("latency", name, p:signal_latency())
  ARDOUR.LuaAPI.set_processor_param(p, 1, {drive})
  ARDOUR.LuaAPI.set_processor_param(p, 0, {trim})
end
-- The processor hears the values in the engine's next cycles (the host sends them with the
-- audio), before the state is saved: two seconds of them, enough on a loaded machine.
ARDOUR.LuaAPI.usleep(2000000)
s:save_state("")
close_session()
"""

LOAD = """
AudioEngine:set_backend("None (Dummy)", "", "")
AudioEngine:start(false)
local s = load_session("{session}", "tavo")
assert(s, "the session does not load")
for t in s:get_tracks():iter() do
  local p = t:nth_plugin(0)
  print("loaded", t:name(), p:isnil() and "none" or p:display_name(),
        ARDOUR.LuaAPI.get_processor_param(p, 1, true), ARDOUR.LuaAPI.get_processor_param(p, 0, true))
end
close_session()
"""


def run_lua(script, env, folder, name):
    path = os.path.join(folder, name)
    with open(path, "w") as f:
        f.write(script)
    run = subprocess.run([LUA, path], env=env, capture_output=True, text=True, timeout=300)
    print(run.stdout[-4000:] + run.stderr[-4000:])
    return run.stdout


def main():
    bundle = os.path.abspath(sys.argv[1])
    if not (os.access(SCANNER, os.X_OK) and os.access(LUA, os.X_OK)):
        print("skipped: Ardour 7 is not installed (Debian package ardour)")
        return 77
    with tempfile.TemporaryDirectory() as scratch:
        home = os.path.join(scratch, "home")
        os.makedirs(os.path.join(home, ".vst3"))
        installed = os.path.join(home, ".vst3", "TAVO.vst3")
        os.symlink(bundle, installed)
        env = dict(os.environ, HOME=home, XDG_CACHE_HOME=os.path.join(scratch, "cache"),
                   XDG_CONFIG_HOME=os.path.join(scratch, "config"))
        env.pop("DISPLAY", None)
        scan = subprocess.run([SCANNER, "-q", installed],
                              env=dict(env, LD_LIBRARY_PATH=ARDOUR), timeout=120)
        if scan.returncode != 0:
            print("the scanner failed")
            return 1
        session = os.path.join(scratch, "session")
        values = dict(session=session, cid=PROCESSOR_CID, drive=DRIVE, trim=TRIM)
        created = run_lua(CREATE.format(**values), env, scratch, "create.lua")
        loaded = run_lua(LOAD.format(**values), env, scratch, "load.lua")

    faults = []
    for track in ("stereo", "mono"):
        names = re.findall(rf"^param {track} \d+ (.+)$", created, re.M)
        if names != NAMES:
            faults.append(f"{track}: parameters {names}")
        if not re.search(rf"^latency {track} 6$", created, re.M):
            faults.append(f"{track}: latency is not 6")
        match = re.search(rf"^loaded {track} TAVO (\S+) (\S+)", loaded, re.M)
        if not match:
            faults.append(f"{track}: no TAVO after reloading")
        elif abs(float(match.group(1)) - DRIVE) > 1e-5 or abs(float(match.group(2)) - TRIM) > 1e-5:
            faults.append(f"{track}: reloaded with Drive {match.group(1)}, Input Trim "
                          f"{match.group(2)}")
    for fault in faults:
        print(fault)
    if not faults:
        print("Ardour's headless session inserts TAVO on a stereo and a mono track, reads its "
              "eight parameters and 6 frames of latency, and keeps Drive and Input Trim through "
              "save and reload")
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
