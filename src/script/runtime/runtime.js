
// Page runtime: placeholder until the runtime lands.
function makeQloom() {}
