// A classic script, so it runs where the page's modules cannot: opened from
// disk (file://), the browser refuses to load them and the page would stay
// blank. It says instead how to serve the folder.
if (location.protocol === "file:") {
  document.addEventListener("DOMContentLoaded", () => {
    const note = document.createElement("section");
    note.id = "file-note";
    note.className = "window";
    const title = document.createElement("h1");
    title.className = "titlebar";
    title.textContent = "Corvane PC Programmer needs a web server";
    const text = document.createElement("div");
    text.className = "note-body";
    for (const line of [
      "This page was opened from a file. Browsers load its program only from a web server, and Web Serial works only on https:// or on http://localhost.",
      "To run it on this computer, open a terminal in this folder and start a local server, for example:",
      "python3 -m http.server 8000 --bind 127.0.0.1",
      "then open http://localhost:8000/ in Chrome, Edge or Opera.",
      "To use it from other computers, put the folder on any https web host as it is.",
    ]) {
      const p = document.createElement(line.startsWith("python3") ? "pre" : "p");
      p.textContent = line;
      text.append(p);
    }
    note.append(title, text);
    document.getElementById("app")?.append(note);
  });
}
