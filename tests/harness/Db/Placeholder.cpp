// Placeholder until the fixture database builder lands.
