// Makes the page start without a network after one visit: it registers the
// service worker (sw.js), which keeps one build of the page in one cache.
// When the server has a new build, its worker installs beside the one in
// charge and waits; this page lets it take over only when that cannot mix
// builds or cost the player a game:
// - once the page shows the game it fetches nothing more, so it can go over
//   to the new build by starting again, if nothing was pressed yet;
// - after the program has ended (the page's "Start again" loads the new one);
// - otherwise the new build waits for the next start of the page.
// A page still loading when another page lets the new build in starts again
// at once, since the rest of its files would come from the new build.
'use strict';
(function () {
  if (!('serviceWorker' in navigator) || !window.isSecureContext) return;
  const workers = navigator.serviceWorker;

  let played = false;
  for (const type of ['keydown', 'pointerdown', 'mousedown', 'touchstart']) {
    window.addEventListener(type, () => { played = true; }, { capture: true, passive: true });
  }
  // A pad shows itself to the page at its first press (page_input.js, which
  // alone listens for pads: a listener here would keep Chromium reading pads
  // while none is there).
  window.addEventListener('orvo-pad-connected', () => { played = true; });
  function state() {
    return window.orvoPage ? window.orvoPage.state : 'loading';
  }
  function mayStartAgain() {
    const now = state();
    return now === 'loading' || (now === 'running' && !played);
  }

  let controller = workers.controller;
  let startingAgain = false;
  workers.addEventListener('controllerchange', () => {
    const previous = controller;
    controller = workers.controller;
    // A first visit's page coming under the worker changes nothing.
    if (previous === null || startingAgain || !mayStartAgain()) return;
    startingAgain = true;
    window.location.reload();
  });

  // Asks a waiting worker to take over as soon as this page allows it: now,
  // or at the page's next change of state (playing only ever forbids it).
  let offered = false;
  function offer(registration) {
    if (offered) return;
    const step = () => {
      offered = false;
      const waiting = registration.waiting;
      if (!waiting) return;
      const now = state();
      if (now === 'ended' || now === 'failed' || (now === 'running' && !played)) {
        waiting.postMessage('orvo-take-over');
      } else {
        offered = true;
        window.addEventListener('orvo-state', step, { once: true });
      }
    };
    step();
  }

  function register() {
    workers.register('sw.js').then((registration) => {
      registration.addEventListener('updatefound', () => {
        const installing = registration.installing;
        if (installing) {
          installing.addEventListener('statechange', () => offer(registration));
        }
      });
      offer(registration);
    }).catch((e) => console.warn('Orvo will not start offline: ' + e.message));
  }
  // After the game is on screen (or has failed or ended), when the browser
  // is idle: the worker's start and its downloads then never compete with
  // the page's own start-up for the network or the processor.
  function registerWhenIdle() {
    if (window.requestIdleCallback) window.requestIdleCallback(register, { timeout: 2000 });
    else setTimeout(register, 0);
  }
  if (state() !== 'loading') registerWhenIdle();
  else window.addEventListener('orvo-settled', registerWhenIdle, { once: true });
})();
