// Starts the game in the page: fetches the pictures of the smallest resolution
// level (or of the one the page's size needs, when the link brings it soon),
// loads the saved state from IndexedDB, then runs the program; the sounds
// (until then it plays them as silence) and the level the size needs follow
// once it runs, and a later resize fetches its own.
"use strict";
(function () {
  const canvas = document.getElementById("canvas");
  const fill = document.getElementById("fill");
  const status = document.getElementById("status");
  const soundNote = document.getElementById("sound");

  // The game's rule: device pixels (CSS size times the pixel ratio), strictly
  // above 630 and 1230.
  function levelFor(cssWidth, cssHeight) {
    const ratio = window.devicePixelRatio || 1;
    const width = Math.round(cssWidth * ratio), height = Math.round(cssHeight * ratio);
    if (width > 1230 || height > 1230) return 4;
    if (width > 630 || height > 630) return 2;
    return 1;
  }

  // Sounds barely compress and the game can start without them.
  const isSound = (name) => /\.(wav|ogg)$/i.test(name);
  const files = new Map();  // data path -> bytes, until written into the file system
  const written = new Set();
  const levels = new Map();  // level -> promise of its files being present
  const manifests = new Map();  // level -> promise of its manifest
  const fileFetches = new Map();  // data path -> promise of its bytes being in `files`
  const fetched = new Set();  // levels whose every file is in
  let fsReady = false;

  function manifest(level) {
    if (!manifests.has(level)) {
      const name = "data/manifest-" + level + ".json";
      manifests.set(level, fetch(name).then((r) => {
        if (!r.ok) throw new Error(name + ": " + r.status);
        return r.json();
      }));
    }
    return manifests.get(level);
  }

  // Bytes of a level that no fetch has asked for yet (shared files count once).
  async function bytesToFetch(level) {
    const list = (await manifest(level)).files.filter(([name]) => !isSound(name));
    return list.reduce((sum, [name, size]) => sum + (fileFetches.has(name) ? 0 : size), 0);
  }

  // One data file into `files`; `count` hears of every chunk.
  async function fetchFile(name, count) {
    const response = await fetch("data/" + name);
    if (!response.ok) throw new Error("data/" + name + ": " + response.status);
    const reader = response.body.getReader();
    const parts = [];
    let length = 0;
    for (;;) {
      const { done, value } = await reader.read();
      if (done) break;
      parts.push(value);
      length += value.length;
      count(value.length);
    }
    const bytes = new Uint8Array(length);
    let at = 0;
    for (const part of parts) { bytes.set(part, at); at += part.length; }
    files.set(name, bytes);
  }

  // Every picture of a level, each fetched once whichever level asks first.
  function fetchLevel(level, progress) {
    if (levels.has(level)) return levels.get(level);
    const done = (async () => {
      const list = (await manifest(level)).files.filter(([name]) => !isSound(name));
      const own = list.filter(([name]) => !fileFetches.has(name));
      const total = own.reduce((sum, [, size]) => sum + size, 0);
      let received = 0;
      const count = (n) => {
        received += n;
        if (progress) progress(received, total);
      };
      for (const [name] of own) fileFetches.set(name, fetchFile(name, count));
      await Promise.all(list.map(([name]) => fileFetches.get(name)));
      if (fsReady) writeFiles();
      fetched.add(level);
      (Module.levelsIn = Module.levelsIn || {})[level] = performance.now();
      publishLevel();
    })();
    levels.set(level, done);
    return done;
  }

  // The sharpest level at hand that the shown size uses: the game loads no
  // sharper one (and takes up a raised limit only at its title screen).
  let shownLevel = 0;
  function publishLevel() {
    if (!fetched.size) return;
    const usable = [...fetched].filter((l) => l <= shownLevel);
    Module.pictureLevelLimit = usable.length ? Math.max(...usable) : Math.min(...fetched);
  }

  // Play first, sharpen after: the smallest level comes first, and the level
  // the size wants joins it before the start only when the link brought the
  // first so fast that waiting for the rest costs under two seconds.
  async function fetchStartLevels(wanted, progress) {
    manifest(wanted).catch(() => {});  // asked for now, read after the first level
    const began = performance.now();
    let received = 0;
    await fetchLevel(1, (n, total) => {
      received = n;
      if (progress) progress(n, total);
    });
    if (wanted === 1) return;
    const rate = received / Math.max(0.001, (performance.now() - began) / 1000);
    if ((await bytesToFetch(wanted)) / rate < 2) await fetchLevel(wanted);
  }

  // The sounds every level shares, once the game runs. Each lands in the file
  // system as it comes and raises the count the game watches, so it loads
  // what has landed at its next update.
  function fetchSounds() {
    return manifest(1).then((m) => Promise.all(m.files.filter(([name]) => isSound(name))
      .filter(([name]) => !fileFetches.has(name))
      .map(([name]) => {
        const landed = fetchFile(name, () => {}).then(() => {
          if (fsReady) writeFiles();
          Module.lateFileArrivals = (Module.lateFileArrivals || 0) + 1;
        });
        fileFetches.set(name, landed);
        return landed;
      }))).then(() => { Module.soundsIn = performance.now(); });
  }

  // Once the game runs, its sounds and the level the page's size wants. The
  // sounds are asked for first, so the browser's connections take them
  // first; a sound that never comes holds up no picture.
  function fetchTheRest() {
    fetchSounds().catch((e) => console.warn("sounds:", e));
    fetchLevel(shownLevel).catch((e) => console.warn("sharper pictures:", e));
  }

  function writeFiles() {
    const FS = Module.FS;
    for (const [name, bytes] of files) {
      const parts = name.split("/");
      let folder = "/data";
      for (const part of parts.slice(0, -1)) {
        folder += "/" + part;
        try { FS.mkdir(folder); } catch (e) { /* already there */ }
      }
      FS.writeFile("/data/" + name, bytes, { canOwn: true });
      written.add(name);
    }
    files.clear();
  }

  // The size the game sees changes only once its level's pictures are present,
  // so the reload a resize starts finds every file. The first size starts
  // with the levels at hand; the one it wants follows (fetchTheRest).
  // The canvas's CSS size: the page's, or less on a screen taller than 3:4.
  function gameArea() {
    return [Math.max(1, Math.round(canvas.clientWidth || window.innerWidth)),
      Math.max(1, Math.round(canvas.clientHeight || window.innerHeight))];
  }
  let sizeWanted = 0;
  function applySize(first) {
    const ticket = ++sizeWanted;
    const [width, height] = gameArea();
    const ratio = window.devicePixelRatio || 1;
    const wanted = levelFor(width, height);
    return (first ? Promise.resolve() : fetchLevel(wanted)).then(() => {
      if (ticket !== sizeWanted) return;
      canvas.width = Math.round(width * ratio);
      canvas.height = Math.round(height * ratio);
      shownLevel = wanted;
      publishLevel();
      Module.gameSize = [width, height, canvas.width, canvas.height];
    });
  }
  // Before the game runs (a phone's page settling its size, say) a resize
  // fetches nothing: the start goes on with what it fetches, and the level
  // the size wants follows once the game runs.
  window.addEventListener("resize", () => {
    applySize(!Module.startedAt).catch((e) => console.warn("resize:", e));
  });

  // When saves cannot be kept the player hears it once, from the page; the
  // note goes at a tap on it or after a while.
  const savesNote = document.getElementById("saves");
  let savesNoted = false;
  function savesCannotBeKept() {
    if (savesNoted) return;
    savesNoted = true;
    const show = () => {
      savesNote.classList.remove("hidden");
      savesNote.addEventListener("click", () => savesNote.classList.add("hidden"));
      setTimeout(() => savesNote.classList.add("hidden"), 15000);
    };
    // Not over the loading screen: once the game is up.
    if (Module.startedAt !== undefined) show(); else Module.showSavesNote = show;
  }

  // Browsers may clear a site's storage when short of space unless it is
  // made persistent; asked once, when there is first something to keep.
  let persistAsked = false;
  function askPersistentStorage() {
    if (persistAsked) return;
    persistAsked = true;
    if (navigator.storage && navigator.storage.persist)
      navigator.storage.persist().catch((e) => console.warn("persistent storage:", e));
  }

  // Saves go to IndexedDB one at a time; a save during a sync runs after it.
  let syncing = false, again = false;
  function syncSaves() {
    askPersistentStorage();
    if (syncing) { again = true; return; }
    syncing = true;
    const done = (error) => {
      if (error) {
        console.warn("saving to IndexedDB failed:", error);
        savesCannotBeKept();
      }
      Module.savesSynced = (Module.savesSynced || 0) + 1;
      syncing = false;
      if (again) { again = false; syncSaves(); }
    };
    // Without a store (storage blocked, say) the game plays on unsaved.
    try { Module.FS.syncfs(false, done); } catch (e) { done(e); }
  }

  // A store can hold anything under the state file's name; what is not a
  // plain file would block every later save, so it goes like a damaged file.
  function dropNonFile(path) {
    const FS = Module.FS;
    let node;
    try { node = FS.lstat(path); } catch (e) { return; }
    if (FS.isFile(node.mode)) return;
    const remove = (p) => {
      if (FS.isDir(FS.lstat(p).mode)) {
        for (const name of FS.readdir(p)) if (name !== "." && name !== "..") remove(p + "/" + name);
        FS.rmdir(p);
      } else {
        FS.unlink(p);
      }
    };
    try { remove(path); } catch (e) { console.warn("cannot clear " + path + ":", e); }
  }

  // Browsers start sound only after a gesture: say so until then.
  function audioContext() {
    return Module.audioContext ? Module.audioContext() : null;
  }
  function updateSoundNote() {
    const context = audioContext();
    soundNote.classList.toggle("hidden", !context || context.state === "running");
  }
  // Browsers grant sound to a press at its end on touch screens (touchend,
  // pointerup, click) and at its start for keys and mice; each gesture tries
  // again until the context runs.
  let watchedContext = null;
  function resumeSound() {
    const context = audioContext();
    if (!context || context.state === "running" || context.state === "closed") return;
    if (context !== watchedContext) {
      watchedContext = context;
      context.addEventListener("statechange", updateSoundNote);
    }
    context.resume().then(updateSoundNote, (e) => console.warn("sound:", e));
  }
  for (const type of ["pointerdown", "touchstart", "pointerup", "touchend", "click", "keydown"]) {
    window.addEventListener(type, () => {
      resumeSound();
      canvas.focus();
    }, { capture: true });
  }

  // Nothing else starts before the loading screen is painted: downloads and
  // compiling would only hold it up. The small manifests go first, so the
  // pictures can follow the paint without another round trip.
  const startLevel = levelFor(...gameArea());
  for (const level of new Set([1, startLevel])) manifest(level).catch(() => {});
  const painted = new Promise((resolve) => requestAnimationFrame(() => setTimeout(resolve)));
  const firstLevel = painted.then(() => fetchStartLevels(startLevel,
    (received, total) => {
      fill.style.width = (100 * received / Math.max(1, total)).toFixed(1) + "%";
      status.textContent = "Loading… " + (received / 1048576).toFixed(1) + " of " +
        (total / 1048576).toFixed(1) + " MB";
    }));

  window.Module = {
    canvas: canvas,
    print: (text) => console.log(text),
    printErr: (text) => console.warn(text),
    frameCosts: [],  // ms of each update and the render after it
    renderCosts: [],  // ms of those renders alone
    syncSaves: syncSaves,
    preRun: [() => {
      const FS = Module.FS;
      FS.mkdir("/data");
      FS.mkdir("/save");
      // The saved state: loaded before the game reads it. A store that cannot
      // be opened or read leaves the folder empty, like a missing file.
      Module.addRunDependency("saves");
      try {
        // Emscripten's store gives up the whole program when the browser
        // offers no IndexedDB (storage blocked): the folder stays in memory.
        if (!window.indexedDB) throw new Error("this browser offers no IndexedDB");
        FS.mount(FS.filesystems.IDBFS, {}, "/save");
        FS.syncfs(true, (error) => {
          if (error) {
            console.warn("saved state unreadable:", error);
            savesCannotBeKept();
          }
          dropNonFile("/save/.vorlekstate");
          Module.removeRunDependency("saves");
        });
      } catch (e) {
        console.warn("no saved state store:", e);
        savesCannotBeKept();
        Module.removeRunDependency("saves");
      }
      Module.addRunDependency("data");
      firstLevel.then(() => applySize(true)).then(() => {
        fsReady = true;
        writeFiles();
        Module.removeRunDependency("data");
      }).catch((e) => {
        status.textContent = "The game's data could not be loaded: " + e.message;
        console.error(e);
      });
    }],
    onGameStarted: () => {
      Module.startedAt = performance.now();
      document.getElementById("loading").classList.add("hidden");
      canvas.focus();
      updateSoundNote();
      setInterval(updateSoundNote, 250);
      if (Module.showSavesNote) Module.showSavesNote();
      fetchTheRest();
    },
  };

  const script = document.createElement("script");
  script.src = "brindlewick.js";
  script.onerror = () => { status.textContent = "The game could not be loaded."; };
  painted.then(() => document.body.appendChild(script));
})();
