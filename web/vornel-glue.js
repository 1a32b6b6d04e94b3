// The page's side of the emulated handheld, run before the game starts: the canvas the
// display is drawn into, as large as the page allows, the sound, the handheld's keys on the
// screen, gamepads, and the page's keys, pointers and visibility handed to the game as the
// browser reports them.
(function () {
  const canvas = document.getElementById('screen');
  // Drawn straight to the screen where the browser can: a frame of the game then needs no
  // commit of the page's layers to the compositor (half the page's time in a frame, in
  // Chromium), and reaches the eye sooner.
  const context = canvas.getContext('2d', { desynchronized: true });

  // As large as the canvas's box allows. On a dense screen (two or more device pixels to a
  // CSS pixel, a phone's) any scale, sampled nearest-neighbour, is sharp enough; elsewhere
  // the largest whole factor of the screen's own pixels, so that every pixel of the handheld
  // is a sharp square.
  function fit() {
    const box = canvas.parentElement.getBoundingClientRect();
    const density = window.devicePixelRatio || 1;
    const across = Math.min(box.width * density / canvas.width, box.height * density / canvas.height);
    const factor = density >= 2 ? Math.max(across, 1) : Math.max(1, Math.floor(across));
    canvas.style.width = canvas.width * factor / density + 'px';
    canvas.style.height = canvas.height * factor / density + 'px';
  }
  window.addEventListener('resize', fit);
  Module.vornelFit = fit;

  Module.vornelResize = function (width, height) {
    canvas.width = width;
    canvas.height = height;
    fit();
  };
  // The game's paints reach the canvas when it next waits (or, flat out, at the next animation
  // frame), the part they changed in one upload (as RGBA rows in the game's memory), however
  // many paints came first.
  Module.vornelFrameWanted = function () {
    requestAnimationFrame(function () { Module._vornel_page_frame(); });
  };
  Module.vornelUpload = function (pointer, left, top, width, height) {
    const pixels = new Uint8ClampedArray(HEAPU8.buffer, pointer, width * height * 4);
    context.putImageData(new ImageData(pixels, width, height), left, top);
    Module.vornelFrames = (Module.vornelFrames || 0) + 1;
  };

  // The handheld's sound: 8000 Hz, 16-bit mono buffers played back to back through WebAudio.
  // Browsers let a page's audio start only from a key or a tap, so the context is made (or
  // resumed) at the first one; until it runs the game's buffers pass unheard.
  Module.vornelAudio = {
    context: null,
    next: 0,       // when the last buffer given ends, in the context's seconds
    ended: 0,      // buffers ended or stopped so far
    played: 0,     // buffers given to WebAudio so far
    sources: [],
    start: function () {
      if (!this.context) {
        const Context = window.AudioContext || window.webkitAudioContext;
        if (!Context) return;
        this.context = new Context({ sampleRate: 8000 });
      }
      if (this.context.state !== 'running') this.context.resume();
    },
    runs: function () { return this.context !== null && this.context.state === 'running'; },
    play: function (pointer, bytes) {
      const count = bytes >> 1;
      const samples = new Int16Array(HEAPU8.buffer, pointer, count);
      const buffer = this.context.createBuffer(1, Math.max(count, 1), 8000);
      const channel = buffer.getChannelData(0);
      for (let i = 0; i < count; ++i) channel[i] = samples[i] / 32768;
      const source = this.context.createBufferSource();
      source.buffer = buffer;
      source.connect(this.context.destination);
      const at = Math.max(this.context.currentTime, this.next);
      source.onended = () => {
        this.sources.shift();
        ++this.ended;
      };
      source.start(at);
      this.next = at + buffer.duration;
      this.sources.push(source);
      ++this.played;
    },
    // Stops every buffer still to play; answers the count of buffers ended, these included.
    stop: function () {
      for (const source of this.sources) {
        source.onended = null;
        source.stop();
      }
      this.ended += this.sources.length;
      this.sources = [];
      this.next = 0;
      return this.ended;
    },
  };
  // The gestures that let a page start its sound in every browser (a finger's pointerdown is
  // none in Chromium); the context is made inside the first of them, as Safari requires.
  for (const type of ['pointerup', 'touchend', 'click', 'keydown']) {
    window.addEventListener(type, () => Module.vornelAudio.start(), true);
  }

  // The page's keys and pointers go to the game as the browser reports them (event.code,
  // event.key, the modifiers; pointer positions on the canvas); what they mean to the
  // handheld is decided by the game's own tables. It answers inside the handler, where the
  // browser still allows keeping the event from it and switching full screen.
  const kTaken = 1;
  const kToggleFullScreen = 2;
  function running() { return Module.calledRun; }
  function modifiersOf(event) {
    return (event.ctrlKey ? 1 : 0) | (event.altKey ? 2 : 0) |
      (event.getModifierState && event.getModifierState('AltGraph') ? 4 : 0) | (event.metaKey ? 8 : 0);
  }
  function answer(event, flags) {
    if (flags & kTaken) event.preventDefault();
    if (flags & kToggleFullScreen) {
      if (document.fullscreenElement) document.exitFullscreen(); else canvas.parentElement.requestFullscreen();
    }
  }
  // The game's functions are called straight, their strings on the stack: ccall answers a
  // promise instead of the function's answer whenever the game is waiting (nearly always),
  // and would take over the game's own promise.
  function callGame(name, ...args) {
    const stack = stackSave();
    try {
      return Module['_' + name](...args.map(function (arg) {
        if (typeof arg !== 'string') return arg;
        const size = lengthBytesUTF8(arg) + 1;
        const text = stackAlloc(size);
        stringToUTF8(arg, text, size);
        return text;
      }));
    } finally {
      stackRestore(stack);
    }
  }

  // Keys typed into the page's own fields (the replay's position, the device) are theirs.
  const isField = (target) => target instanceof HTMLInputElement || target instanceof HTMLSelectElement;
  window.addEventListener('keydown', function (event) {
    if (!running() || isField(event.target)) return;
    answer(event, callGame('vornel_page_key_down', event.code, event.key, modifiersOf(event), event.repeat ? 1 : 0));
  });
  window.addEventListener('keyup', function (event) {
    if (!running() || isField(event.target)) return;
    answer(event, callGame('vornel_page_key_up', event.code, event.key, modifiersOf(event)));
  });
  window.addEventListener('blur', function () {
    if (running()) Module._vornel_page_blur();
  });

  const pointerKinds = { pointerdown: 0, pointermove: 1, pointerup: 2, pointercancel: 2 };
  function pointer(event) {
    if (!running()) return;
    const box = canvas.getBoundingClientRect();
    const flags = Module._vornel_page_pointer(pointerKinds[event.type], event.pointerId, event.button,
                                              event.clientX - box.left, event.clientY - box.top, box.width, box.height);
    if ((flags & kTaken) && event.type === 'pointerdown') {
      canvas.setPointerCapture(event.pointerId);
      event.preventDefault();
    }
  }
  for (const type of Object.keys(pointerKinds)) canvas.addEventListener(type, pointer);

  // The handheld's keys on the screen, laid out as the profile's own: the Smartphone's soft
  // keys, five-way pad, Back and keypad; the keyboard handheld's pad, soft keys and Back (its
  // letters are the keypad); the Pocket PC's pad and its action beside the pen. Each key goes
  // to the game by its name, held while a finger is on it; several fingers at once each hold
  // their own. They show on touch screens (and with ?keys), step aside when a physical key
  // or a gamepad is used, and come back at the next touch, without moving the game's screen.
  const keys = document.getElementById('keys');
  const pad = [['', 'Up', ''], ['Left', 'Action', 'Right'], ['', 'Down', '']];
  const softKeys = [['Left soft key', 'Back', 'Right soft key']];
  const labels = { Up: '\u25B2', Down: '\u25BC', Left: '\u25C0', Right: '\u25B6', Action: '\u25CF',
    'Left soft key': '\u2014', 'Right soft key': '\u2014', Back: '\u21A9' };
  // Each cluster: its rows of keys ('' leaves a gap); a wide one takes a row of its own.
  const layouts = {
    smartphone: [{ rows: softKeys, wide: true }, { rows: pad },
      { rows: [['1', '2', '3'], ['4', '5', '6'], ['7', '8', '9'], ['*', '0', '#']] }],
    qwerty: [{ rows: softKeys, wide: true }, { rows: pad }],
    pocketpc: [{ rows: pad }],
    'pocketpc-vga': [{ rows: pad }],
  };
  function keyButton(name) {
    const button = document.createElement('button');
    button.type = 'button';
    button.tabIndex = -1;
    button.className = 'key';
    button.setAttribute('aria-label', name);
    button.textContent = labels[name] || name;
    const fingers = new Set();
    function press(event) {
      event.preventDefault();
      button.setPointerCapture(event.pointerId);
      if (fingers.size === 0 && running()) {
        callGame('vornel_page_screen_key', name, 1);
        if (navigator.vibrate) navigator.vibrate(12);
      }
      fingers.add(event.pointerId);
      button.classList.add('held');
    }
    function release(event) {
      if (!fingers.delete(event.pointerId) || fingers.size > 0) return;
      button.classList.remove('held');
      if (running()) callGame('vornel_page_screen_key', name, 0);
    }
    button.addEventListener('pointerdown', press);
    button.addEventListener('pointerup', release);
    button.addEventListener('pointercancel', release);
    button.addEventListener('contextmenu', (event) => event.preventDefault());
    return button;
  }
  function buildKeys(device) {
    for (const group of layouts[device] || layouts.pocketpc) {
      const cluster = document.createElement('div');
      cluster.className = group.wide ? 'cluster wide' : 'cluster';
      cluster.style.gridTemplateColumns = 'repeat(' + group.rows[0].length + ', var(--key))';
      for (const row of group.rows) {
        for (const name of row) cluster.appendChild(name ? keyButton(name) : document.createElement('span'));
      }
      keys.appendChild(cluster);
    }
  }
  function showKeys(shown) { keys.classList.toggle('away', !shown); }
  Module.vornelShowKeys = function (device, wanted) {
    buildKeys(device);
    keys.hidden = !wanted;
    document.body.classList.toggle('keyed', wanted);
    fit();
  };
  window.addEventListener('keydown', (event) => { if (event.isTrusted) showKeys(false); }, true);
  window.addEventListener('pointerdown', (event) => { if (event.pointerType === 'touch') showKeys(true); }, true);

  // Gamepads of the standard layout, polled every frame while one is connected (the browser
  // says when one comes; one connected before the page is found by the first poll): the
  // buttons held and the left stick go to the game, which maps them as it maps a controller
  // on the desktop; one unplugged lets go of what it held. With none, no frame is asked for.
  const pads = new Set();
  let polling = false;
  function pollGamepads() {
    if (!running()) {
      requestAnimationFrame(pollGamepads);
      return;
    }
    const seen = new Set();
    for (const gamepad of navigator.getGamepads ? navigator.getGamepads() : []) {
      if (!gamepad || !gamepad.connected) continue;
      seen.add(gamepad.index);
      let buttons = 0;
      gamepad.buttons.forEach((button, index) => { if (button.pressed && index < 32) buttons |= 1 << index; });
      const [x = 0, y = 0] = gamepad.axes;
      if (buttons !== 0 || Math.abs(x) > 0.5 || Math.abs(y) > 0.5) showKeys(false);
      Module._vornel_page_gamepad(gamepad.index, buttons >>> 0, x, y);
    }
    for (const index of pads) {
      if (!seen.has(index)) Module._vornel_page_gamepad_gone(index);
    }
    pads.clear();
    for (const index of seen) pads.add(index);
    polling = pads.size > 0;
    if (polling) requestAnimationFrame(pollGamepads);
  }
  function startPolling() {
    if (polling) return;
    polling = true;
    requestAnimationFrame(pollGamepads);
  }
  window.addEventListener('gamepadconnected', startPolling);
  startPolling();

  // A page in the background, or without the focus, pauses the game, as a window in the
  // background did.
  function visible(shown) {
    if (running()) Module._vornel_page_visible(shown ? 1 : 0);
  }
  document.addEventListener('visibilitychange', function () { visible(!document.hidden); });
  window.addEventListener('blur', function () { visible(false); });
  window.addEventListener('focus', function () { visible(!document.hidden); });
})();
