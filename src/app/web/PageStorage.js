// The page keeps what the desktop keeps on disk from one run to the next (the settings with the
// recent files, the copies of unsaved answers in the state folder, the files chosen in the
// browser's file picker) in the browser's own storage for the site (IndexedDB), so that a reload or
// a closed tab loses none of it. The settings are read and the copies looked for as soon as the
// program starts: the folders are filled from the storage before it starts at all, so that nothing
// of the program runs or waits meanwhile. PageStorage.cpp checks that the folders Qt names are among
// these, and asks for a write back when the window closes.
//
// The storage is written by a sync of all the folders, and two syncs at once can lose files: one
// runs at a time, and a write back asked for meanwhile runs once after it, however often it was
// asked for. A write back with nothing changed since the last sync (no file added, removed or
// written) is skipped.
//
// The folders are mounted with a copy of IDBFS that has no sync of its own: emscripten's fsync
// syncs the whole folder of a file whose file system can, and waits for it, suspending the program
// in the middle of a save while the program's event loop is already waiting (one wait at a time).
// A save's fsync then returns at once, as in the page's memory, and the page's own syncs (below,
// through IDBFS's) write the file back.
Module["preRun"] = [].concat(Module["preRun"] || []);
Module["preRun"].push(function() {
    var home = "/home/web_user";
    // The settings (Qt's configuration folder), the state folder (in Qt's data folder) and the
    // chosen files.
    var folders = [home + "/.config", home + "/.local/share", home + "/Chosen"];
    var kept = Object.assign({}, IDBFS);
    delete kept.syncfs;
    var storage = { usable: false, busy: true, again: false, written: null };
    var mounts = [];
    function sync(populate, callback) {
        var left = mounts.length;
        var failed = null;
        mounts.forEach(function(mount) {
            IDBFS.syncfs(mount, populate, function(error) {
                failed = failed || error;
                if (--left === 0) {
                    callback(failed);
                }
            });
        });
    }
    Module["orvikStorage"] = storage;
    storage.state = function() {
        var entries = [];
        mounts.forEach(function(mount) {
            IDBFS.getLocalSet(mount, function(error, local) {
                if (!error) {
                    for (var path in local.entries) {
                        entries.push(path + " " + local.entries[path].timestamp.getTime());
                    }
                }
            });
        });
        return entries.sort().join("\n");
    };
    storage.writeBack = function() {
        if (!storage.usable) {
            return;
        }
        if (storage.busy) {
            storage.again = true;
            return;
        }
        var state = storage.state();
        if (state === storage.written) {
            return;
        }
        storage.busy = true;
        sync(false, function(error) {
            storage.busy = false;
            if (error) {
                console.warn("Orvik Generator: the browser's storage could not be written:", error);
            } else {
                storage.written = state;
            }
            if (storage.again) {
                storage.again = false;
                storage.writeBack();
            }
        });
    };
    storage.keeps = function(path) {
        return mounts.some(function(mount) {
            return path === mount.mountpoint || path.startsWith(mount.mountpoint + "/");
        });
    };
    folders.forEach(function(folder) {
        FS.mkdirTree(folder);
        mounts.push(FS.mount(kept, {}, folder).mount);
    });
    addRunDependency("orvik-storage");
    sync(true, function(error) {
        storage.busy = false;
        if (error) {
            // Written back, the empty folders would take the place of what is stored.
            console.warn("Orvik Generator: the browser's storage could not be read; nothing is kept beyond this page:",
                         error);
        } else {
            storage.usable = true;
            storage.written = storage.state();
        }
        removeRunDependency("orvik-storage");
        // The recovery copy is written a second after the last change; its write back follows
        // within this. Outside the program's event loop: nothing of it runs for a write back.
        setInterval(storage.writeBack, 1000);
    });
    // A file let go over the page and not taken by the window would be opened by the browser in
    // the page's place, leaving the form: the page takes every drop for itself.
    ["dragover", "drop"].forEach(function(type) {
        document.addEventListener(type, function(event) {
            event.preventDefault();
        });
    });
    addEventListener("pagehide", storage.writeBack);
    document.addEventListener("visibilitychange", function() {
        if (document.visibilityState === "hidden") {
            storage.writeBack();
        }
    });
});
