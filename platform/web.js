// What a page's program needs of the page before main and after it.
//
// The page's saved files: the player's home folder, where a program starts and keeps hwconfig.cfg
// and its options, lies in the browser's IndexedDB and is read back from it before the program
// starts. Each save's fsync writes it there (emscripten does so under Asyncify), and so does the
// closing of the page, for any file written without one.
Module['preRun'] = [].concat(Module['preRun'] || [], function() {
  var home = '/home/web_user';
  FS.mount(IDBFS, {}, home);
  FS.chdir(home);
  addRunDependency('savedfiles');
  FS.syncfs(true, function(error) {
    if (error)
      err('the saved files cannot be read: ' + error);  // the page runs on without them
    removeRunDependency('savedfiles');
  });
  window.addEventListener('pagehide', function() { FS.syncfs(false, function() {}); });
});

// main returns through Asyncify, from its last frame, where emscripten leaves the program's end
// unannounced: it is taken up here, so that the program exits as it would have had it returned
// at once, and the page says so (its onExit)
Module['postRun'] = [].concat(Module['postRun'] || [], function() {
  if (!Asyncify.currData)
    return;  // main has returned already
  Asyncify.whenDone().then(function(status) {
    runtimeKeepaliveCounter = 0;  // the sound's timers would keep the ended program running
    try {
      exit(status);
    } catch (end) {
      if (!(end instanceof ExitStatus))
        throw end;
    }
  });
});
