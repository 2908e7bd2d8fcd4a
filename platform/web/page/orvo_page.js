// The page around the game: it puts the files that index.html fetched in
// the program's folder and lets the program start, hands it the page's input
// (page_input.js), fits the canvas to the screen (page_fit.js), shows the
// program's frames, its failure message or its end, and sets up the test
// hooks (page_hooks.js).
import { fitCanvas } from './page_fit.js';
import { frameShown, page, settle, setUpHooks } from './page_hooks.js';
import { closeInput, eventArrival, startInput, takeEvent } from './page_input.js';
import { kFiles, kProgramFolder } from './page_table.js';

const canvas = document.getElementById('screen');
// Every frame is opaque: so is the canvas, which the browser then need not
// blend with the page under it.
const context = canvas.getContext('2d', { alpha: false });
startInput(canvas, fitCanvas(canvas, document.getElementById('stage')));

function showMessage(title, text) {
  document.getElementById('message-title').textContent = title;
  document.getElementById('message-text').textContent = text;
  document.getElementById('message').style.display = 'block';
}
document.getElementById('again').addEventListener('click', () => window.location.reload());

// The program ends by unwinding with an ExitStatus; that is no page error.
function quietExit(e) {
  const reason = e.reason || e.error;
  if (reason && reason.name === 'ExitStatus') e.preventDefault();
}
window.addEventListener('error', quietExit);
window.addEventListener('unhandledrejection', quietExit);

const Module = window.Module;
Object.assign(Module, {
  orvoTakeEvent: takeEvent,
  orvoEventArrival: eventArrival,
  orvoShowFrame(pixels, width, height, x, y, w, h) {
    // The canvas keeps the last frame; only the rectangle that changed is
    // drawn anew (none when nothing did).
    if (w > 0 && h > 0) {
      context.putImageData(new ImageData(pixels, width, height), 0, 0, x, y, w, h);
    }
    frameShown(pixels, width);
  },
  orvoFailure(title, text) {
    closeInput();
    settle('failed');
    page.message = title + ': ' + text;
    showMessage(title, text);
  },
  orvoEnded(status) {
    closeInput();
    page.status = status;
    // After a start-up failure its message stays on the page.
    if (page.state === 'failed') return;
    settle('ended');
    showMessage('Orvo has ended', 'The game has ended. Start it again to play on.');
  },
});
// The files go in place before the program starts; one that could not be
// fetched is left out, and the program reports it as missing.
Module.orvoPageReady((files) => {
  setUpHooks(Module);
  for (const path of kFiles) Module.FS.mkdirTree((kProgramFolder + path).replace(/[^/]*$/, ''));
  for (const file of files) {
    if (file.data) Module.FS.writeFile(kProgramFolder + file.path, file.data);
  }
});
